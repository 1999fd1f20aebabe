#pragma once
// What a device model asks of its lighting editor (the "LightControlItem" of its page). The editor
// implements it and is handed to the model once both exist; a model without an editor (tests, a
// command-line front end) simply has none.
//
// Called on the user-interface thread only.

#include "config/profile_records.h"

namespace zrv::devices {

class LightView {
 public:
  virtual ~LightView() = default;

  // Shows the profile's main, logo and strip records ("Speed" as the profile holds it). A model
  // without logo and strip lighting passes empty records for them.
  virtual void ShowLightRecords(const config::LightStateRecord& main, const config::LightStateRecord& logo,
                                const config::LightStateRecord& strip) = 0;
  // Selects custom lighting group `group` in the editor, without notification.
  virtual void ShowCustomGroup(int group) { (void)group; }
  // The custom group selected in the editor; -1 when none.
  virtual int SelectedCustomGroup() const { return -1; }
};

}  // namespace zrv::devices
