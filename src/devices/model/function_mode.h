#pragma once
// Which pages a function mode shows.
//
// A device page has two tab containers for its editors: the function container
// ("device_function_switch") and the key-function container ("device_key_function_switch"). The
// model decides the pages; the page selects them, the function container first.

#include <cstdint>

#include "device/device_tables.h"

namespace zrv::devices {

inline constexpr const char* kFunctionSwitchName = "device_function_switch";
inline constexpr const char* kKeyFunctionSwitchName = "device_key_function_switch";

struct FunctionPages {
  int function_page = -1;      // page of the function container; -1 leaves it as it is
  int key_function_page = -1;  // page of the key-function container; -1 leaves it as it is
  friend bool operator==(const FunctionPages&, const FunctionPages&) = default;
};

// Modes 2 and 6: key-function page 1; 3 and 8: function page 1; 4: function page 3 for keyboards
// and mice (kinds 1, 2, 6); 5: function page 2; 7: key-function page 2; every other mode (4 on other
// kinds too): key-function page 0. Whenever the key-function container is chosen, the function
// container goes to page 0 first.
FunctionPages FunctionModePages(int mode, device::DeviceKind kind);

}  // namespace zrv::devices
