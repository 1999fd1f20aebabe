#include "config/mouse_profiledata.h"

#include "config/json_value.h"

namespace zrv::config {
namespace {

DpiStage ReadStage(const Json::Value& object) {
  return {MemberByte(object, "StageActive"), MemberByte(object, "StageXY"), MemberWord(object, "StageDPIX"),
          MemberWord(object, "StageDPIY"), MemberByte(object, "StageColorR"), MemberByte(object, "StageColorG"),
          MemberByte(object, "StageColorB")};
}

}  // namespace

const std::vector<DpiStage>& CMouseProfiledata::GetDpiStages() {
  const Json::Value& dpi = Section("DPIStages");
  if (!dpi.isObject()) return stages_;
  active_stage_ = static_cast<int>(ReadInt(Member(dpi, "StageActive")));
  const Json::Value& list = Member(dpi, "StageDPIs");
  if (!list.isArray()) return stages_;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const DpiStage stage = ReadStage(list[i]);
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
  Json::Value& list = MemberForWrite(SectionForWrite("DPIStages"), "StageDPIs");
  for (size_t i = 0; i < stages.size(); ++i) {
    Json::Value& element = EnsureObject(ElementForWrite(list, static_cast<Json::ArrayIndex>(i)));
    const DpiStage& stage = stages[i];
    element["StageActive"] = stage.enabled;
    element["StageXY"] = stage.xy;
    element["StageDPIX"] = stage.dpi_x;
    element["StageDPIY"] = stage.dpi_y;
    element["StageColorR"] = stage.red;
    element["StageColorG"] = stage.green;
    element["StageColorB"] = stage.blue;
  }
}

int CMouseProfiledata::GetActiveStage() {
  const Json::Value& dpi = Section("DPIStages");
  if (dpi.isObject()) active_stage_ = static_cast<int>(ReadInt(Member(dpi, "StageActive")));
  return active_stage_;
}

void CMouseProfiledata::SetActiveStage(int stage) {
  MemberForWrite(SectionForWrite("DPIStages"), "StageActive") = stage;
  active_stage_ = stage;
}

MouseSystem CMouseProfiledata::GetMouseSystem() {
  const Json::Value& stages = Section("SystemStages");
  system_ = MouseSystem{};
  if (stages.isObject()) {
    system_.double_click_time = MemberWord(stages, "DoubleClickTime");
    system_.mouse_speed = MemberWord(stages, "MouseSpeed");
    system_.pointer_precision = MemberWord(stages, "PointerPrecision");
    system_.scroll_page = MemberWord(stages, "ScorllPage");
    system_.wheel_scroll_lines = MemberWord(stages, "WheelScorlllinse");
    system_.report_rate = MemberWord(Section("ReportStages"), "StageActive");
  }
  return system_;
}

void CMouseProfiledata::SetMouseSystem(const MouseSystem& values) {
  Json::Value& stages = EnsureObject(SectionForWrite("SystemStages"));
  stages["DoubleClickTime"] = values.double_click_time;
  stages["MouseSpeed"] = values.mouse_speed;
  stages["PointerPrecision"] = values.pointer_precision;
  stages["ScorllPage"] = values.scroll_page;
  stages["WheelScorlllinse"] = values.wheel_scroll_lines;
  MemberForWrite(SectionForWrite("ReportStages"), "StageActive") = values.report_rate;
  system_ = values;
}

const std::vector<Correction>& CMouseProfiledata::GetCorrections() {
  corrections_.clear();
  const Json::Value& list = Section("CorrectInfo");
  if (!list.isArray()) return corrections_;
  for (Json::ArrayIndex i = 0; i < list.size(); ++i) {
    const Json::Value& entry = list[i];
    corrections_.push_back({MemberByte(entry, "CorrectPixThresh"), MemberByte(entry, "CorrectMinSq"),
                            MemberByte(entry, "CorrectSelect"),
                            QString::fromStdString(ReadText(Member(entry, "CorrectName")))});
  }
  return corrections_;
}

}  // namespace zrv::config
