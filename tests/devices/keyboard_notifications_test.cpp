// The keyboard's notifications end to end: the simulated keyboard notifies, the notification thread
// decodes, the keyboard asks for timer 1002, marks a profile changed on the device, and hands key
// presses to the reactive effect state. Then the sync request that the timer runs.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "config/profile_list.h"
#include "keyboard_test_support.h"
#include "platform/debug_output.h"

namespace zrv::devices {
namespace {

using testing::KeyboardSimTest;

constexpr const char* kSyncTrace = "接收到自动添加设备的同步信息要求";

// Waits until `done` holds, for at most five seconds.
template <class Predicate>
bool WaitFor(Predicate done) {
  const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (!done()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

class KeyboardNotificationsTest : public KeyboardSimTest {
 protected:
  void SetUp() override {
    Plug();
    keyboard_.SetTimerRequestHandler([this](int id, int delay) {
      std::lock_guard lock(mutex_);
      requests_.push_back({id, delay});
    });
    device::DeviceLink& link = keyboard_.NotificationLink();
    ASSERT_EQ(link.Hid().Open(device_->NotificationPath(), true, true, true, false), 1);
    link.SetConnected(true);
    ASSERT_TRUE(keyboard_.StartNotificationThread());
  }
  void TearDown() override { keyboard_.StopNotificationThread(); }

  std::vector<TimerStart> Requests() {
    std::lock_guard lock(mutex_);
    return requests_;
  }
  // Sends 0x0401 and waits for its request: every notification sent before has been handled.
  void Drain() {
    const size_t before = Requests().size();
    device_->Notify(kNotifySyncRequest);
    ASSERT_TRUE(WaitFor([&] { return Requests().size() > before; }));
  }
  static size_t SyncTraces(const platform::DebugCapture& debug) {
    size_t n = 0;
    for (const std::string& line : debug.Lines()) n += line == kSyncTrace ? 1 : 0;
    return n;
  }

  platform::DebugCapture debug_;
  std::mutex mutex_;
  std::vector<TimerStart> requests_;
};

TEST_F(KeyboardNotificationsTest, SyncCodesAskForTimer1002AndOnlyTheSecondMarksTheProfile) {
  device_->Notify(kNotifySyncRequest);
  ASSERT_TRUE(WaitFor([&] { return Requests().size() == 1; }));
  EXPECT_EQ(Requests()[0], (TimerStart{kTimerSyncRequest, 100}));
  EXPECT_FALSE(keyboard_.ProfileChangedOnDevice());

  device_->Notify(kNotifyProfileChanged);
  ASSERT_TRUE(WaitFor([&] { return Requests().size() == 2; }));
  EXPECT_EQ(Requests()[1], (TimerStart{kTimerSyncRequest, 100}));
  EXPECT_TRUE(keyboard_.ProfileChangedOnDevice());

  device_->Notify(kNotifyIgnored);
  device_->Notify(0x0777);
  Drain();
  EXPECT_EQ(Requests().size(), 3u) << "0x0404 and unknown codes ask for nothing";
  EXPECT_EQ(SyncTraces(debug_), 3u);
  EXPECT_TRUE(debug_.Contains("接收到自动添加设备的同步信息要求  TEST"));
}

TEST_F(KeyboardNotificationsTest, KeySlotsGoingDownAndUpReachTheReactiveStateAsLogicalKeys) {
  keyboard_.ReadDeviceTables();
  const int key = 64;  // 'A'
  const int slot = device_->SlotOfLogicalKey(key);
  ASSERT_GE(slot, 0);

  device_->KeyDown(static_cast<unsigned>(slot));
  ASSERT_TRUE(WaitFor([&] { return keyboard_.KeyHeld(key); }));
  EXPECT_EQ(keyboard_.GetEffectState().fade[key], 255) << "a press lights the key";

  device_->KeyUp(static_cast<unsigned>(slot));
  ASSERT_TRUE(WaitFor([&] { return !keyboard_.KeyHeld(key); }));
  EXPECT_EQ(keyboard_.GetEffectState().fade[key], 255) << "the effect fades it, not the release";

  // A slot that carries no logical key changes nothing.
  keyboard_.ClearReactiveState();
  device_->KeyDown(200);
  Drain();
  const auto state = keyboard_.GetEffectState();
  for (size_t i = 0; i < state.fade.size(); ++i) EXPECT_EQ(state.fade[i], 0) << i;
  EXPECT_TRUE(Requests().size() == 1u) << "key codes ask for no timer";
}

TEST_F(KeyboardNotificationsTest, BeforeTheTablesAreReadNoKeyIsKnown) {
  device_->KeyDown(static_cast<unsigned>(device_->SlotOfLogicalKey(0)));
  Drain();
  for (int key = 0; key < 126; ++key) EXPECT_FALSE(keyboard_.KeyHeld(key)) << key;
}

// The sync request that timer 1002 runs: after 0x0402 the selected profile goes back to its
// template (name and identifier kept) and is loaded again; the settings record is read either way.
TEST_F(KeyboardNotificationsTest, TheSyncRequestResetsTheProfileOnlyAfterTheDeviceChangedIt) {
  keyboard_.OnAttached();
  ASSERT_FALSE(keyboard_.ProfileId().empty()) << "the first attach makes the profile list";
  const Json::Value before = config::ReadJsonFile(QString::fromStdString(keyboard_.ProfilePath()));
  EXPECT_EQ(before["profilename"].asString(), "profile1");

  config::KeyboardSystem system = keyboard_.GetKeyboardSystem();
  system.repeat = 7;
  keyboard_.ChangeKeyboardSystem(system, false);
  device_->Log().Clear();

  keyboard_.OnDeviceSyncRequest();  // no change on the device: the profile stays
  EXPECT_EQ(ProfileSettings()["SystemStages"]["Repeat"].asInt(), 7);
  EXPECT_EQ(device_->Log().CountFrames(0x05), 2u) << "the settings record is read again";

  device_->Notify(kNotifyProfileChanged);
  ASSERT_TRUE(WaitFor([&] { return keyboard_.ProfileChangedOnDevice(); }));
  keyboard_.OnDeviceSyncRequest();
  EXPECT_FALSE(keyboard_.ProfileChangedOnDevice());
  const Json::Value after = config::ReadJsonFile(QString::fromStdString(keyboard_.ProfilePath()));
  EXPECT_EQ(after["profilename"], before["profilename"]);
  EXPECT_EQ(after["profileUUID"], before["profileUUID"]);
  const Json::Value template_settings = config::ReadJsonFile(TemplatePath())["Device"][0];
  EXPECT_EQ(after["Device"][0]["SystemStages"]["Repeat"], template_settings["SystemStages"]["Repeat"]);
  EXPECT_EQ(keyboard_.GetKeyboardSystem().repeat, template_settings["SystemStages"]["Repeat"].asUInt())
      << "and loaded again";
}

// The profile the keyboard works with is the one reset, also when the list's recorded selection
// names another (the bar's switch could not record it); the others stay as they are.
TEST_F(KeyboardNotificationsTest, TheSyncRequestResetsTheProfileInUse) {
  keyboard_.OnAttached();
  config::ProfileList list(KeyboardFolder(), TemplatePath(), device::DeviceKind::kKeyboard);
  list.Load();
  ASSERT_TRUE(list.NewProfile().ok);
  const QString in_use = list.Entries().front().id;
  const QString recorded = list.Entries().back().id;
  ASSERT_EQ(keyboard_.ProfileId(), in_use.toStdString());
  ASSERT_EQ(list.SelectedId(), recorded) << "a new profile is recorded as the selection";

  config::KeyboardSystem changed = keyboard_.GetKeyboardSystem();
  changed.repeat = 7;
  for (const QString& id : {recorded, in_use}) {
    keyboard_.SetProfileId(id.toStdString());
    keyboard_.LoadProfile();
    keyboard_.ChangeKeyboardSystem(changed, false);
  }

  device_->Notify(kNotifyProfileChanged);
  ASSERT_TRUE(WaitFor([&] { return keyboard_.ProfileChangedOnDevice(); }));
  keyboard_.OnDeviceSyncRequest();
  const auto repeat = [&](const QString& id) {
    return config::ReadJsonFile(list.ProfilePath(id))["Device"][0]["SystemStages"]["Repeat"].asInt();
  };
  const int template_repeat = config::ReadJsonFile(TemplatePath())["Device"][0]["SystemStages"]["Repeat"].asInt();
  ASSERT_NE(template_repeat, 7);
  EXPECT_EQ(repeat(in_use), template_repeat);
  EXPECT_EQ(repeat(recorded), 7) << "the recorded selection is not the profile in use";
  EXPECT_EQ(keyboard_.ProfileId(), in_use.toStdString());
  EXPECT_EQ(keyboard_.GetKeyboardSystem().repeat, static_cast<uint16_t>(template_repeat)) << "and loaded again";
}

}  // namespace
}  // namespace zrv::devices
