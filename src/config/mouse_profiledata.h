#pragma once
// The mouse's profile data: DPI stages, system values and sensor corrections.

#include <vector>

#include "config/basic_profiledata.h"

namespace zrv::config {

class CMouseProfiledata : public CBasicProfiledata {
 public:
  // The cached DPI stage list after taking in "DPIStages": stage i of the profile overwrites cached
  // stage i, stages beyond the cached count are appended, cached stages beyond the profile's stay
  // (so a profile with 3 stages read after one with 5 keeps stages 4 and 5). Without "DPIStages"
  // nothing changes.
  const std::vector<DpiStage>& GetDpiStages();
  // Replaces the cached list and sets the seven members of "StageDPIs"[i] for every stage;
  // elements beyond the list stay.
  void SetDpiStages(const std::vector<DpiStage>& stages);

  // "DPIStages"."StageActive": the stage in use (the cached one when "DPIStages" is missing).
  int GetActiveStage();
  void SetActiveStage(int stage);

  // "SystemStages" and "ReportStages"."StageActive"; all six zero without "SystemStages".
  MouseSystem GetMouseSystem();
  void SetMouseSystem(const MouseSystem& values);

  // "CorrectInfo", read only.
  const std::vector<Correction>& GetCorrections();

  static constexpr int kMaxStages = 5;  // what the mouse uses; a profile may hold more

 private:
  std::vector<DpiStage> stages_;
  int active_stage_ = 0;
  MouseSystem system_;
  std::vector<Correction> corrections_;
};

}  // namespace zrv::config
