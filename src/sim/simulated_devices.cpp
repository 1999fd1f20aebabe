#include "sim/simulated_devices.h"

#include <algorithm>
#include <cctype>

#include "sim/headset_model.h"
#include "sim/keyboard_model.h"
#include "sim/mouse_model.h"
#include "sim/mousepad_model.h"
#include "sim/wireless_mouse_model.h"

namespace zrv::sim {
namespace {

std::string Normalise(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(text[begin]))) ++begin;
  while (end > begin && std::isspace(static_cast<unsigned char>(text[end - 1]))) --end;
  std::string out(text.substr(begin, end - begin));
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

std::string KnownNames() {
  std::string out;
  for (const auto& name : SimulatedKindNames()) out += name + ", ";
  return out + "all";
}

}  // namespace

const std::vector<std::string>& SimulatedKindNames() {
  static const std::vector<std::string> names = {"keyboard", "mouse", "wireless-mouse", "mousepad", "headset"};
  return names;
}

std::shared_ptr<FirmwareModel> CreateModel(std::string_view name) {
  const std::string key = Normalise(name);
  if (key == "keyboard") return KeyboardModel::Create();
  if (key == "mouse") return MouseModel::Create();
  if (key == "wireless-mouse") return WirelessMouseModel::Create();
  if (key == "mousepad") return MousePadModel::Create();
  if (key == "headset") return HeadsetModel::Create();
  return nullptr;
}

bool ParseSimulateList(std::string_view list, std::vector<std::string>& names, std::string& error) {
  names.clear();
  error.clear();
  const auto& known = SimulatedKindNames();
  size_t start = 0;
  for (;;) {
    size_t comma = list.find(',', start);
    std::string name = Normalise(list.substr(start, comma == std::string_view::npos ? comma : comma - start));
    if (name.empty()) {
      error = "empty device name in simulated device list '" + std::string(list) + "' (known: " + KnownNames() + ")";
      names.clear();
      return false;
    }
    if (name == "all") {
      names.insert(names.end(), known.begin(), known.end());
    } else if (std::find(known.begin(), known.end(), name) != known.end()) {
      names.push_back(name);
    } else {
      error = "unknown simulated device '" + name + "' (known: " + KnownNames() + ")";
      names.clear();
      return false;
    }
    if (comma == std::string_view::npos) break;
    start = comma + 1;
  }
  return true;
}

PlugResult PlugSimulated(std::string_view list) {
  PlugResult result;
  std::vector<std::string> names;
  if (!ParseSimulateList(list, names, result.error)) return result;
  for (const auto& name : names) {
    auto model = CreateModel(name);
    if (!model->Plug()) {
      UnplugSimulated(result.models);
      result.models.clear();
      result.error = "could not plug the simulated " + name;
      return result;
    }
    result.models.push_back(std::move(model));
  }
  return result;
}

void UnplugSimulated(const std::vector<std::shared_ptr<FirmwareModel>>& models) {
  for (const auto& model : models) {
    if (model) model->Unplug();
  }
}

}  // namespace zrv::sim
