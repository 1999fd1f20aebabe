#pragma once
// The headset's profile data: its eight audio values and the equaliser curves.

#include <QStringList>

#include "config/basic_profiledata.h"

namespace zrv::config {

class CHs6533Profiledata : public CBasicProfiledata {
 public:
  // "SystemSetStages": all zero when missing.
  HeadsetSettings GetHeadsetSettings();
  void SetHeadsetSettings(const HeadsetSettings& values);

  // The curve of preset `preset` from "EQHzValueInfo": 1-12 use their own element, 0 and numbers
  // above 13 (and below 0) element 1; 13 (a custom curve) has no preset curve: empty, and writing
  // it does nothing. Reading creates missing bands (value 0) in the settings object.
  EqCurve GetEqCurve(int preset);
  void SetEqCurve(int preset, const EqCurve& bands);

  // "CustomEQNameInfo": the names of the custom curves in list order; writing replaces the list.
  QStringList GetCustomEqNames();
  void SetCustomEqNames(const QStringList& names);

  // Custom curve `curve` of "CustomEQHzValueInfo", created with zero bands when missing. Numbers
  // outside 0 … kMaxCustomCurve give an empty curve and change nothing.
  EqCurve GetCustomEqCurve(int curve);
  void SetCustomEqCurve(int curve, const EqCurve& bands);

  static constexpr int kCustomPreset = 13;
  static constexpr int kMaxCustomCurve = 255;  // the page keeps at most 20

 private:
  // The element of "EQHzValueInfo" that a preset uses; -1 for none.
  static int PresetElement(int preset);
  EqCurve ReadCurve(const char* member, int element);
  void WriteCurve(const char* member, int element, const EqCurve& bands);

  HeadsetSettings settings_;
};

}  // namespace zrv::config
