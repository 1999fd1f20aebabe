#pragma once
// The factory profiles that DefaultData/<kind>.Json holds. They are generated from here with our
// writer, so their bytes are exactly the layout the program writes:
//   ZRV31_WRITE_TEMPLATES=1 config_tests --gtest_filter=ProfileTemplates.*
// rewrites the files; without the variable the test checks that the committed files match.

#include <json/json.h>

#include <QString>

namespace zrv::config::test {

Json::Value KeyboardTemplate();
Json::Value MouseTemplate();
Json::Value MousePadTemplate();
Json::Value HeadsetTemplate();

// The factory values that the tests compare the getters with.
inline constexpr int kTemplateCustomModes = 5;
inline constexpr int kTemplateDpiStages = 5;
inline constexpr int kMouseLeds = 6;
inline constexpr int kMousePadLeds = 15;
inline constexpr int kHeadsetLeds = 13;

}  // namespace zrv::config::test
