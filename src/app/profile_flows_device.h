#pragma once
// What the profile flows do to the device of the shown page when a profile is switched or reset,
// and the adapter that does it to a device page and its model.

#include <QPointer>
#include <QString>

#include "device/device_tables.h"

namespace zrv::devices {
class CHalveronUSBDevicePage;
}

namespace zrv::app {

class ProfileDevice {
 public:
  virtual ~ProfileDevice() = default;

  virtual device::DeviceKind Kind() const = 0;
  // Which device is there: the path of its connection while one is attached (every connection
  // has a path of its own), empty while none is. A flow that sees it change while it waits for
  // the user ends without writing.
  virtual QString Presence() const { return {}; }
  // The profile the device works with from now on (its file: data folder + id + ".Json").
  virtual void SetProfileId(const QString& id) = 0;
  virtual void LoadProfile() = 0;
  virtual void CheckAssignments() = 0;
  virtual void RefreshPage() = 0;
  virtual int WriteSettings(int profile_index, int first_byte, int third_value, int screen_width,
                            int screen_height) = 0;
  // 0 written or nothing to write; -1 out of memory; n > 0 the macros are n events too large.
  virtual int WriteMacros() = 0;
  virtual int WriteKeyAssignmentList(int profile_index) = 0;
  // Keyboard: the custom lighting modes again from the profile, and the lighting page's list.
  virtual void ReloadCustomLightModes() {}
  // Keyboard and mouse: hides the key-assignment editor's panel "keyset_layout".
  virtual void HideKeySetLayout() {}
  // Keyboard and mouse: disables "key_butt_keysave", "key_butt_keycancel" and "key_butt_prosave".
  virtual void DisableKeySaveButtons() {}
};

// A device page and its model as the flows' device, bound to that page for its lifetime (a flow
// keeps its adapter, so that nothing can point it at another page meanwhile). Once the page is
// gone every operation does nothing.
class PageProfileDevice : public ProfileDevice {
 public:
  explicit PageProfileDevice(devices::CHalveronUSBDevicePage* page);
  ~PageProfileDevice() override;
  devices::CHalveronUSBDevicePage* Page() const;

  device::DeviceKind Kind() const override;
  QString Presence() const override;
  void SetProfileId(const QString& id) override;
  void LoadProfile() override;
  void CheckAssignments() override;
  void RefreshPage() override;
  int WriteSettings(int profile_index, int first_byte, int third_value, int screen_width, int screen_height) override;
  int WriteMacros() override;
  int WriteKeyAssignmentList(int profile_index) override;
  void HideKeySetLayout() override;
  void DisableKeySaveButtons() override;

 private:
  QPointer<devices::CHalveronUSBDevicePage> page_;
};

}  // namespace zrv::app
