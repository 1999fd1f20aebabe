#include "config/mouse_profiledata.h"

#include "config/json_fields.h"
#include "config/json_value.h"

namespace zrv::config {
namespace {

// "DPIStages": the active stage and the list of stages.
constexpr const char* kDpiMember = "DPIStages";
constexpr const char* kStageListMember = "StageDPIs";
// "StageActive" names the active stage in "DPIStages" and in "ReportStages" (the report rate), and
// whether a stage is enabled in an element of "StageDPIs".
constexpr const char* kStageActiveMember = "StageActive";
constexpr JsonField<DpiStage> kStageFields[] = {
    NumberField<&DpiStage::enabled>(kStageActiveMember), NumberField<&DpiStage::xy>("StageXY"),
    NumberField<&DpiStage::dpi_x>("StageDPIX"),          NumberField<&DpiStage::dpi_y>("StageDPIY"),
    NumberField<&DpiStage::red>("StageColorR"),          NumberField<&DpiStage::green>("StageColorG"),
    NumberField<&DpiStage::blue>("StageColorB"),
};

// "SystemStages"; the report rate is "ReportStages"."StageActive".
constexpr const char* kSystemMember = "SystemStages";
constexpr const char* kReportMember = "ReportStages";
constexpr JsonField<MouseSystem> kSystemFields[] = {
    NumberField<&MouseSystem::double_click_time>("DoubleClickTime"),
    NumberField<&MouseSystem::mouse_speed>("MouseSpeed"),
    NumberField<&MouseSystem::pointer_precision>("PointerPrecision"),
    NumberField<&MouseSystem::scroll_page>("ScorllPage"),
    NumberField<&MouseSystem::wheel_scroll_lines>("WheelScorlllinse"),
};

// An element of "CorrectInfo" (read only).
constexpr const char* kCorrectionsMember = "CorrectInfo";
constexpr JsonField<Correction> kCorrectionFields[] = {
    NumberField<&Correction::pix_thresh>("CorrectPixThresh"),
    NumberField<&Correction::min_sq>("CorrectMinSq"),
    NumberField<&Correction::select>("CorrectSelect"),
    TextField<&Correction::name>("CorrectName"),
};

}  // namespace

const std::vector<DpiStage>& CMouseProfiledata::GetDpiStages() {
  const Json::Value& dpi = Section(kDpiMember);
  if (!dpi.isObject()) return stages_;
  active_stage_ = static_cast<int>(ReadInt(Member(dpi, kStageActiveMember)));
  const Json::Value& list = Member(dpi, kStageListMember);
  if (!list.isArray()) return stages_;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const DpiStage stage = ReadRecord<DpiStage>(list[i], kStageFields);
    if (i < stages_.size()) {
      stages_[i] = stage;
    } else {
      stages_.push_back(stage);
    }
  }
  return stages_;
}

void CMouseProfiledata::SetDpiStages(const std::vector<DpiStage>& stages) {
  stages_ = stages;
  Json::Value& list = MemberForWrite(SectionForWrite(kDpiMember), kStageListMember);
  for (size_t i = 0; i < stages.size(); ++i) {
    WriteFields<DpiStage>(ElementForWrite(list, static_cast<Json::ArrayIndex>(i)), kStageFields, stages[i]);
  }
}

int CMouseProfiledata::GetActiveStage() {
  const Json::Value& dpi = Section(kDpiMember);
  if (dpi.isObject()) active_stage_ = static_cast<int>(ReadInt(Member(dpi, kStageActiveMember)));
  return active_stage_;
}

void CMouseProfiledata::SetActiveStage(int stage) {
  MemberForWrite(SectionForWrite(kDpiMember), kStageActiveMember) = stage;
  active_stage_ = stage;
}

MouseSystem CMouseProfiledata::GetMouseSystem() {
  const Json::Value& stages = Section(kSystemMember);
  system_ = MouseSystem{};
  if (stages.isObject()) {
    ReadFields<MouseSystem>(stages, kSystemFields, system_);
    system_.report_rate = MemberWord(Section(kReportMember), kStageActiveMember);
  }
  return system_;
}

void CMouseProfiledata::SetMouseSystem(const MouseSystem& values) {
  WriteFields<MouseSystem>(SectionForWrite(kSystemMember), kSystemFields, values);
  MemberForWrite(SectionForWrite(kReportMember), kStageActiveMember) = values.report_rate;
  system_ = values;
}

const std::vector<Correction>& CMouseProfiledata::GetCorrections() {
  corrections_.clear();
  const Json::Value& list = Section(kCorrectionsMember);
  if (!list.isArray()) return corrections_;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    corrections_.push_back(ReadRecord<Correction>(list[i], kCorrectionFields));
  }
  return corrections_;
}

}  // namespace zrv::config
