#pragma once
// The global option --simulate=LIST of zrv31ctl: plugs simulated devices in for the run, so that
// every command finds them beside the real ones.

#include <memory>
#include <string>
#include <vector>

#include "cli/commands.h"
#include "sim/firmware_model.h"

namespace zrv::cli {

inline constexpr const char* kSimulateOption = "--simulate=";

class SimulateOption {
 public:
  SimulateOption() = default;
  // Unplugs what Apply plugged.
  ~SimulateOption();
  SimulateOption(const SimulateOption&) = delete;
  SimulateOption& operator=(const SimulateOption&) = delete;

  // Takes the leading --simulate=LIST options off args (a later one adds to an earlier one) and
  // plugs the devices they name. False with error when a list is bad; nothing is plugged then.
  bool Apply(Args& args, std::string& error);

  const std::vector<std::shared_ptr<sim::FirmwareModel>>& Models() const { return models_; }

 private:
  std::vector<std::shared_ptr<sim::FirmwareModel>> models_;
};

}  // namespace zrv::cli
