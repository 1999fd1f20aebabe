// The mouse page's key-information list: one row per logical button with its name and the caption
// of its assignment, beside the picture whose buttons carry the same texts as tool tips.

#include "device/key_identity_table.h"
#include "devices/kind_pages.h"
#include "ui/label.h"
#include "ui/language.h"
#include "ui/lookup.h"

namespace zrv::devices {
namespace {

constexpr const char* kKeyInfoList = "device_setkeyinfo_list";
constexpr int kRowHeight = 25;
// The list stands in the free space left of the mouse drawing, narrower than a full-width list.
constexpr int kNameWidth = 78;
constexpr int kCaptionWidth = 114;
constexpr ui::Argb kNameColour = 0xFFFFFFFF;
constexpr ui::Argb kCaptionColour = 0xFF0099FF;

}  // namespace

ui::ListContainerElement* CHalveronMouseDevicePage::AddKeyInfoRow(ui::List& list) {
  auto* row = new ui::ListContainerElement;
  row->SetFixedHeight(kRowHeight);
  auto* name = new ui::Label;
  name->SetFixedWidth(kNameWidth);
  name->SetTextColor(kNameColour);
  auto* caption = new ui::Label;
  caption->SetFixedWidth(kCaptionWidth);
  caption->SetTextColor(kCaptionColour);
  caption->SetEndEllipsis(true);
  row->Add(name);
  row->Add(caption);
  // A row is shown once its button has a caption (and only while the button is shown).
  row->SetVisible(false);
  row->SetEnabled(false);
  list.Add(row);
  return row;
}

ui::ListContainerElement* CHalveronMouseDevicePage::KeyInfoRow(int index) const {
  auto* list = ui::FindSubControlByName<ui::List>(this, kKeyInfoList);
  if (list == nullptr || index < 0 || index >= list->GetCount()) return nullptr;
  return dynamic_cast<ui::ListContainerElement*>(list->GetItemAt(index));
}

void CHalveronMouseDevicePage::ShowKeyCaption(int index, const std::string& caption) {
  if (index < 0 || static_cast<size_t>(index) >= device::kMouseLogicalKeys) return;
  const QString name = ui::TextById(QString::fromStdString(std::string(device::kMouseKeyIdentityTable[index].name)));
  const QString text = QString::fromStdString(caption);
  controls::CDeviceKeyButtonUI* button = KeyButton(index);
  if (button != nullptr) {
    button->SetUserToolTitle(name);
    button->SetUserToolText(text);
  }
  auto* list = ui::FindSubControlByName<ui::List>(this, kKeyInfoList);
  if (list == nullptr) return;
  while (list->GetCount() <= index) AddKeyInfoRow(*list);
  auto* row = dynamic_cast<ui::ListContainerElement*>(list->GetItemAt(index));
  if (row == nullptr || row->GetCount() < 2) return;
  row->GetItemAt(0)->SetText(name);
  row->GetItemAt(1)->SetText(text);
  row->SetVisible(button != nullptr && button->IsVisible());
}

}  // namespace zrv::devices
