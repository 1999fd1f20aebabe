#include "app/control_classes.h"

#include <gtest/gtest.h>

#include <memory>

#include "ui/containers.h"
#include "ui/control_factory.h"
#include "ui/dialog_builder.h"

namespace zrv::app {
namespace {

TEST(ControlClasses, EveryClassOfTheTableIsRegisteredByName) {
  RegisterControlClasses();
  for (const char* name : kRegisteredControlClasses) {
    ASSERT_TRUE(ui::ControlFactory::Instance().IsRegistered(name)) << name;
    std::unique_ptr<ui::Control> control(ui::ControlFactory::Instance().Create(name));
    ASSERT_NE(control, nullptr) << name;
    EXPECT_EQ(control->GetClass(), QString::fromLatin1(name));
  }
}

TEST(ControlClasses, RealClassReplacesThePlaceholder) {
  SetControlClass("CMpDevicePowerUI", [] { return static_cast<ui::Control*>(new ui::VerticalLayout); });
  std::unique_ptr<ui::Control> control(ui::ControlFactory::Instance().Create("CMpDevicePowerUI"));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->GetClass(), "VerticalLayout");
  SetControlClass("CMpDevicePowerUI", nullptr);
  control.reset(ui::ControlFactory::Instance().Create("CMpDevicePowerUI"));
  EXPECT_EQ(control->GetClass(), "CMpDevicePowerUI");
}

TEST(ControlClasses, WindowNamesAreComparedWithoutCase) {
  std::unique_ptr<ui::Control> keyboard(CreateWindowControl("halveronkeyboarddevice", nullptr));
  ASSERT_NE(keyboard, nullptr);
  EXPECT_EQ(keyboard->GetClass(), "CHalveronKeyboardDevice");
  std::unique_ptr<ui::Control> progress(CreateWindowControl("CIRCLEPROGRESS", nullptr));
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->GetClass(), "CCircleProgressUI");
  EXPECT_EQ(CreateWindowControl("Button", nullptr), nullptr) << "the library's own classes apply";
  EXPECT_EQ(CreateWindowControl("NoSuchThing", nullptr), nullptr);
}

TEST(ControlClasses, LayoutsNamingLaterClassesBuildWithTheirChildren) {
  ui::DialogBuilder builder;
  std::unique_ptr<ui::Control> root(builder.CreateFromText(
      "<VerticalLayout name='page'>"
      "  <CHalveronMousePadDevice name='pad'><Label name='inside' text='x'/></CHalveronMousePadDevice>"
      "  <DeviceOption name='item'/>"
      "</VerticalLayout>",
      "inline"));
  ASSERT_NE(root, nullptr) << builder.Error().ToString().toStdString();
  auto* container = dynamic_cast<ui::Container*>(root.get());
  ASSERT_NE(container, nullptr);
  ui::Control* pad = container->GetItemAt(0);
  ASSERT_NE(pad, nullptr);
  EXPECT_EQ(pad->GetName(), "pad");
  EXPECT_EQ(pad->GetClass(), "CHalveronMousePadDevice");
  EXPECT_EQ(dynamic_cast<ui::Container*>(pad)->GetCount(), 1);
  EXPECT_EQ(container->GetItemAt(1)->GetClass(), "CDeviceOptionUI");
}

}  // namespace
}  // namespace zrv::app
