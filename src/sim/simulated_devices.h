#pragma once
// Plugging simulated devices by name: the list of --simulate=LIST.
//
// LIST is a comma list of keyboard, mouse, wireless-mouse, mousepad and headset, or `all` for every
// one of them; names are matched without regard to case and surrounding blanks. A name may repeat
// (two keyboards). An unknown or empty name fails the whole list and plugs nothing.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sim/firmware_model.h"

namespace zrv::sim {

// The names LIST accepts, without "all", in the order "all" plugs them.
const std::vector<std::string>& SimulatedKindNames();

// A new, unplugged model of the named kind; null for an unknown name.
std::shared_ptr<FirmwareModel> CreateModel(std::string_view name);

struct PlugResult {
  std::vector<std::shared_ptr<FirmwareModel>> models;  // in list order, all plugged
  std::string error;                                   // empty on success
  bool ok() const { return error.empty(); }
};

// Parses LIST into model kinds; false with a message naming the offending entry.
bool ParseSimulateList(std::string_view list, std::vector<std::string>& names, std::string& error);

// Creates and plugs the models LIST names.
PlugResult PlugSimulated(std::string_view list);

// Unplugs each model (the registry then drops its paths).
void UnplugSimulated(const std::vector<std::shared_ptr<FirmwareModel>>& models);

}  // namespace zrv::sim
