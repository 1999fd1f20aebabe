#pragma once
// Probing interface paths as discovery does, and a one-shot search for the supported interfaces
// present now (for tools that do not run the discovery thread).

#include <optional>
#include <string>
#include <vector>

#include "device/discovery_interface_list.h"

namespace zrv::device {

class HidInterface;

// Opens path read-only, overlapped and shared (so a program that has the device open is not
// disturbed), takes vendor and product id from its attributes, usage page and usage from its
// capabilities, interface and collection from the path, and closes it again. None when it cannot be
// opened.
std::optional<ProbedInterface> ProbeInterface(HidInterface& probe, const std::string& path);

struct FoundInterface {
  size_t index = 0;  // the record of the list it matches on the six values
  std::string path;
  ProbedInterface probed;
};

// Every interface present now that matches a record of list on the six values, in enumeration
// order, whether its record is present or not (two devices of a kind are both found). False when
// the interfaces could not be listed.
bool FindSupportedInterfaces(const InterfaceList& list, std::vector<FoundInterface>& found);

}  // namespace zrv::device
