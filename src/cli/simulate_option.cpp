#include "cli/simulate_option.h"

#include <string_view>

#include "sim/simulated_devices.h"

namespace zrv::cli {

SimulateOption::~SimulateOption() { sim::UnplugSimulated(models_); }

bool SimulateOption::Apply(Args& args, std::string& error) {
  const std::string_view prefix = kSimulateOption;
  std::string lists;
  size_t taken = 0;
  while (taken < args.size() && std::string_view(args[taken]).substr(0, prefix.size()) == prefix) {
    if (!lists.empty()) lists += ',';
    lists += args[taken].substr(prefix.size());
    ++taken;
  }
  if (taken == 0) return true;
  // All lists at once: a bad entry anywhere plugs nothing.
  sim::PlugResult plugged = sim::PlugSimulated(lists);
  if (!plugged.ok()) {
    error = plugged.error;
    return false;
  }
  args.erase(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(taken));
  models_.insert(models_.end(), plugged.models.begin(), plugged.models.end());
  return true;
}

}  // namespace zrv::cli
