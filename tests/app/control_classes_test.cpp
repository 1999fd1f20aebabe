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
    EXPECT_NE(control, nullptr) << name;
  }
}

TEST(ControlClasses, ClassesNotBuiltYetArePlaceholdersKeepingTheirName) {
  std::unique_ptr<ui::Control> control(MakeControl("CNotBuiltYetUI"));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->GetClass(), "CNotBuiltYetUI");
  EXPECT_NE(dynamic_cast<ui::Container*>(control.get()), nullptr) << "a placeholder holds its layout's children";
}

TEST(ControlClasses, RealClassReplacesThePlaceholder) {
  SetControlClass("CMpDevicePowerUI", [] { return static_cast<ui::Control*>(new ui::VerticalLayout); });
  std::unique_ptr<ui::Control> control(ui::ControlFactory::Instance().Create("CMpDevicePowerUI"));
  ASSERT_NE(control, nullptr);
  EXPECT_EQ(control->GetClass(), "VerticalLayout");
  SetControlClass("CMpDevicePowerUI", nullptr);
}

TEST(ControlClasses, WindowNamesAreComparedWithoutCase) {
  std::unique_ptr<ui::Control> progress(CreateWindowControl("CIRCLEPROGRESS", nullptr));
  ASSERT_NE(progress, nullptr);
  EXPECT_EQ(progress->GetClass(), "CircleProgress") << "the name table leads to the class";
  std::unique_ptr<ui::Control> keyboard(CreateWindowControl("halveronkeyboarddevice", nullptr));
  EXPECT_NE(keyboard, nullptr);
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
  ASSERT_NE(dynamic_cast<ui::Container*>(pad), nullptr);
  EXPECT_EQ(dynamic_cast<ui::Container*>(pad)->GetCount(), 1);
  EXPECT_NE(container->GetItemAt(1), nullptr);
}

}  // namespace
}  // namespace zrv::app
