#include "devices/model/function_mode.h"

#include "device/device_tables.h"

namespace zrv::devices {
namespace {

FunctionPages FunctionPage(int page) { return {page, -1}; }
FunctionPages KeyFunctionPage(int page) { return {0, page}; }

bool HasKeys(device::DeviceKind kind) { return kind == device::DeviceKind::kKeyboard || device::IsMouse(kind); }

}  // namespace

FunctionPages FunctionModePages(int mode, device::DeviceKind kind) {
  switch (mode) {
    case 2:
    case 6: return KeyFunctionPage(1);
    case 3:
    case 8: return FunctionPage(1);
    case 4:
      if (HasKeys(kind)) return FunctionPage(3);
      break;
    case 5: return FunctionPage(2);
    case 7: return KeyFunctionPage(2);
    default: break;
  }
  return KeyFunctionPage(0);
}

}  // namespace zrv::devices
