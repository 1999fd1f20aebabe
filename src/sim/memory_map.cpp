#include "sim/memory_map.h"

#include "sim/command_frame.h"

namespace zrv::sim {

const char* AreaName(Area area) {
  switch (area) {
    case Area::kInfo: return "information block";
    case Area::kSettings: return "settings";
    case Area::kDefaultKeys: return "factory keys";
    case Area::kKeys: return "key tables";
    case Area::kCustomLight: return "custom lighting";
    case Area::kLightFrame: return "light frame";
    case Area::kMacros: return "macro memory";
    case Area::kShoot: return "shoot memory";
    case Area::kPower: return "power";
    case Area::kKeyLedMap: return "key LED map";
  }
  return "?";
}

std::optional<CommandBinding> BindingOf(uint8_t id) {
  switch (id) {
    case command::kReadInfo: return CommandBinding{Area::kInfo, false};
    case command::kReadSettings: return CommandBinding{Area::kSettings, false};
    case command::kWriteSettings: return CommandBinding{Area::kSettings, true};
    case command::kReadDefaultKeys: return CommandBinding{Area::kDefaultKeys, false};
    case command::kWriteKeys: return CommandBinding{Area::kKeys, true};
    case command::kReadCustomLight: return CommandBinding{Area::kCustomLight, false};
    case command::kWriteCustomLight: return CommandBinding{Area::kCustomLight, true};
    case command::kSendLightFrame: return CommandBinding{Area::kLightFrame, true};
    case command::kWriteMacros: return CommandBinding{Area::kMacros, true};
    case command::kWriteShoot: return CommandBinding{Area::kShoot, true};
    case command::kReadPower: return CommandBinding{Area::kPower, false};
    case command::kReadKeyLedMap: return CommandBinding{Area::kKeyLedMap, false};
    default: return std::nullopt;
  }
}

}  // namespace zrv::sim
