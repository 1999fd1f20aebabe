#pragma once
// LightModel: what the lighting editor asks of a device model beyond the device operations of every
// kind: the lighting files, the lighting records from the profile, the settings read back, and the
// editor itself as the model's LightView (a model without an editor simply has none). The kinds
// with a lighting editor (keyboard, mouse) implement it.
//
// User-interface thread only.

#include "config/light_files.h"
#include "devices/model/light_view.h"

namespace zrv::devices {

class LightModel {
 public:
  virtual ~LightModel() = default;

  // The lighting editor that a page refresh shows the profile's records on (null: none).
  void SetLightView(LightView* view) { light_view_ = view; }
  LightView* GetLightView() const { return light_view_; }

  // The lighting records from the profile; the on-screen effect is set up again.
  virtual void ApplyLightSettings() = 0;
  // The effect lists and custom-effect names of the lighting files.
  virtual void LoadLists() = 0;
  virtual const config::LightLists& GetLightLists() const = 0;
  // Reads the device's settings back into the profile (after a write the device refused).
  virtual int ReadDeviceSettings() = 0;
  // Shows the profile's lighting records on the LightView, if there is one.
  virtual void ShowLightRecords() = 0;

 private:
  LightView* light_view_ = nullptr;
};

}  // namespace zrv::devices
