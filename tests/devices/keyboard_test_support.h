#pragma once
// The keyboard tests: a simulated keyboard, the keyboard's model with its command link open on it,
// and private data and program folders (the profile template comes from the source tree's
// DefaultData), so that profiles and macros are the test's own.

#include <gtest/gtest.h>

#include <QDir>
#include <QString>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <optional>
#include <string>

#include "config/json_file.h"
#include "devices/model/keyboard_device.h"
#include "devices/model/model_test_support.h"
#include "sim/keyboard_model.h"

namespace zrv::devices::testing {

// Sets an environment variable for the lifetime of the object.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) saved_ = old;
    ::setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() {
    if (saved_) {
      ::setenv(name_, saved_->c_str(), 1);
    } else {
      ::unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> saved_;
};

// Folders first: the keyboard takes its template path when it is made.
class KeyboardFolders {
 protected:
  KeyboardFolders()
      : data_env_("XDG_DATA_HOME", root_.filePath(QStringLiteral("data")).toStdString()),
        program_env_("ZRV31_PROGRAM_DIR", ZRV31_SOURCE_DIR) {}

  // The keyboard's user data folder, with a trailing separator.
  static QString KeyboardFolder() {
    return QString::fromStdString(std::string(std::getenv("XDG_DATA_HOME")) + "/ZRV-31 Gaming Keyboard/keyboard/");
  }
  static QString TemplatePath() { return QStringLiteral(ZRV31_SOURCE_DIR "/DefaultData/keyboard.Json"); }

  QTemporaryDir root_;
  ScopedEnv data_env_;
  ScopedEnv program_env_;
};

class KeyboardSimTest : public KeyboardFolders, public SimulatorTest {
 protected:
  void Plug(sim::KeyboardOptions options = {}) {
    device_ = sim::KeyboardModel::Create(options);
    ASSERT_TRUE(device_->Plug());
    Connect(keyboard_, *device_);
  }
  // The settings object of the keyboard's profile file as it is on disk.
  Json::Value ProfileSettings() const {
    return config::ReadJsonFile(QString::fromStdString(keyboard_.ProfilePath()))["Device"][0];
  }
  size_t Frames(uint8_t command) const { return device_->Log().CountFrames(command); }

  CHalveronKeyboardDevice keyboard_;
  std::shared_ptr<sim::KeyboardModel> device_;
};

}  // namespace zrv::devices::testing
