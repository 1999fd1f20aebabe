#include "devices/device_page.h"

#include <algorithm>

#include "ui/language.h"
#include "ui/lookup.h"
#include "ui/window.h"

namespace zrv::devices {
namespace {

const QString kKeyPrefix = QStringLiteral("key_");
const QString kLightPrefix = QStringLiteral("light_");

// The number of "prefix" + number, or -1 when the name is not of that form.
int NumberAfter(const QString& name, const QString& prefix) {
  if (!name.startsWith(prefix)) return -1;
  bool ok = false;
  const int n = name.mid(prefix.size()).toInt(&ok, 10);
  return ok && n >= 0 ? n : -1;
}

void Keep(std::vector<QPointer<controls::CDeviceKeyButtonUI>>& table, int index, controls::CDeviceKeyButtonUI* button) {
  if (index < 0 || static_cast<size_t>(index) >= table.size() || table[static_cast<size_t>(index)]) return;
  table[static_cast<size_t>(index)] = button;  // the first of a name wins
}

controls::CDeviceKeyButtonUI* At(const std::vector<QPointer<controls::CDeviceKeyButtonUI>>& table, int index) {
  if (index < 0 || static_cast<size_t>(index) >= table.size()) return nullptr;
  return table[static_cast<size_t>(index)];
}

}  // namespace

CHalveronUSBDevicePage::CHalveronUSBDevicePage(QWidget* parent)
    : CHalveronUSBDevicePage(std::make_unique<CHalveronUSBDevice>(), parent) {}

CHalveronUSBDevicePage::CHalveronUSBDevicePage(std::unique_ptr<CHalveronUSBDevice> model, QWidget* parent)
    : ui::HorizontalLayout(parent), model_(std::move(model)) {
  model_->SetPageView(this);
  // Requests come from the notification thread: queued to this page, and dropped with it.
  model_->SetTimerRequestHandler([this](int id, int delay_ms) {
    QMetaObject::invokeMethod(
        this, [this, id, delay_ms] { StartDeviceTimer(id, delay_ms); }, Qt::QueuedConnection);
  });
}

CHalveronUSBDevicePage::~CHalveronUSBDevicePage() {
  model_->SetTimerRequestHandler(nullptr);
  model_->SetPageView(nullptr);
  model_.reset();
}

void CHalveronUSBDevicePage::BuildPage() {
  const int buttons = model_->KeyButtonCount();
  key_buttons_.assign(static_cast<size_t>(std::max(buttons, model_->KeySlotCount())), nullptr);
  light_buttons_.assign(static_cast<size_t>(buttons), nullptr);
  const QList<ui::Control*> panels = ui::FindSubControlsByClass(this, QStringLiteral("SelectPanel"));
  select_panel_ = panels.isEmpty() ? nullptr : dynamic_cast<controls::CSelectPanelUI*>(panels.front());
  for (ui::Control* control : ui::FindSubControlsByClass(this, QStringLiteral("DeviceKeyButton"))) {
    auto* button = dynamic_cast<controls::CDeviceKeyButtonUI*>(control);
    if (button == nullptr) continue;
    const QString name = button->GetName();
    Keep(key_buttons_, NumberAfter(name, kKeyPrefix), button);
    Keep(light_buttons_, NumberAfter(name, kLightPrefix), button);
  }
  BuildProfileBar();
}

void CHalveronUSBDevicePage::BuildProfileBar() {
  const QList<ui::Control*> bars = ui::FindSubControlsByClass(this, QStringLiteral("DeviceProfile"));
  auto* bar = bars.isEmpty() ? nullptr : dynamic_cast<controls::CDeviceProfileUI*>(bars.front());
  if (bar == nullptr || bar == profile_bar_) return;
  profile_bar_ = bar;
  bar->SetDeviceKind(model_->Kind());
  bar->SetPaths(QString::fromStdString(model_->UserDataFolder()), QString::fromStdString(model_->DefaultProfilePath()));
  bar->InitProfiles();  // a list that cannot be written is reported; the profile is used all the same
  bar->SelectOpTab(1);
  model_->SetProfileId(bar->GetCurrentProfileId().toStdString());
}

controls::CDeviceKeyButtonUI* CHalveronUSBDevicePage::KeyButton(int index) const { return At(key_buttons_, index); }

controls::CDeviceKeyButtonUI* CHalveronUSBDevicePage::LightButton(int index) const { return At(light_buttons_, index); }

controls::CDeviceKeyButtonUI* CHalveronUSBDevicePage::PaintedButton(int index) const {
  controls::CDeviceKeyButtonUI* light = LightButton(index);
  return light != nullptr ? light : KeyButton(index);
}

void CHalveronUSBDevicePage::PaintKey(int index, uint32_t colour, int intensity) {
  controls::CDeviceKeyButtonUI* button = PaintedButton(index);
  if (button != nullptr && button->IsVisible()) button->SetLight(colour, intensity, true);
}

std::string CHalveronUSBDevicePage::TranslateText(const std::string& text_id) {
  return ui::TextById(QString::fromStdString(text_id)).toStdString();
}

void CHalveronUSBDevicePage::AddRoutes(ui::RouteRegistry& routes) {
  for (const char* tab : controls::CDeviceProfileUI::kOpTabs) {
    routes.AddName(this, ui::notify::kSelectChanged, tab,
                   [this](const ui::RouteHit& hit) { ShowFunctionTab(hit.msg); });
  }
  routes.AddPrefix(this, ui::notify::kMoveValueChanged, "orvex_DPI_slider_",
                   [this](const ui::RouteHit& hit) { ShowDraggedDpiValue(hit.number, hit.msg.wParam); });
}

void CHalveronUSBDevicePage::ShowFunctionTab(const ui::Notify& msg) {
  if (msg.wParam == 0) return;
  const QString name = msg.SenderName();
  const auto& tabs = controls::CDeviceProfileUI::kOpTabs;
  for (size_t i = 0; i < tabs.size(); ++i) {
    if (name.compare(QLatin1String(tabs[i]), Qt::CaseInsensitive) != 0) continue;
    Model().SetFunctionMode(static_cast<int>(i) + 1);
    if (i + 1 == 2) RedrawPicture();  // the key tab
    return;
  }
}

void CHalveronUSBDevicePage::ShowDraggedDpiValue(int number, qint64 value) {
  const QString edit_name = QStringLiteral("orvex_DPI_edit_%1").arg(number);
  ui::Control* edit = ui::FindSubControlByName(this, edit_name);
  // The edit may sit outside the page, elsewhere in the window.
  if (edit == nullptr && GetWindow() != nullptr) edit = GetWindow()->FindControl(edit_name);
  if (edit != nullptr) edit->SetText(QString::number(value));
}

void CHalveronUSBDevicePage::TakeChangedLightsOf(const LightTable& table, ChangedLights& changed) {
  for (const auto& button : table) {
    if (button && button->TakeLightChange()) changed.buttons.push_back(button);
  }
  changed.table_ends.push_back(changed.buttons.size());
}

void CHalveronUSBDevicePage::TakeChangedLights(ChangedLights& changed) {
  TakeChangedLightsOf(key_buttons_, changed);
  TakeChangedLightsOf(light_buttons_, changed);
}

void CHalveronUSBDevicePage::RedrawPicture() {
  ChangedLights& changed = changed_lights_;
  changed.buttons.clear();
  changed.table_ends.clear();
  TakeChangedLights(changed);
  // A few changed lights repaint their buttons; a frame that changes many repaints the part of the
  // picture they cover in one pass, which costs the window system far less than as many small
  // repaints (and leaves out the picture's edges). That pass is made at once, as an animation's
  // frame: no repaint request goes round the event loop.
  if (changed.buttons.size() > kSeparateRepaints && select_panel_) {
    // The lights are children of the panel or of the picture under it (the logo and strip lights).
    // Each table's lights lie together (the keys, the logo, the strip): a box each, so that the
    // picture between them is left alone.
    QWidget* panel = select_panel_;
    QWidget* picture = panel->parentWidget() != nullptr ? panel->parentWidget() : panel;
    QRegion covered;
    size_t begin = 0;
    for (const size_t end : changed.table_ends) {
      QRect box;
      for (size_t i = begin; i < end; ++i) {
        const QWidget* widget = changed.buttons[i]->Widget();
        const QWidget* parent = widget->parentWidget();
        if (parent != panel && parent != picture) {
          picture->repaint();
          return;
        }
        box |= parent == picture ? widget->geometry() : widget->geometry().translated(panel->pos());
      }
      covered += box;
      begin = end;
    }
    picture->repaint(covered);
    return;
  }
  for (controls::CDeviceKeyButtonUI* button : changed.buttons) button->Invalidate();
}

ui::TabLayout* CHalveronUSBDevicePage::FunctionContainer(const char* name, QPointer<ui::TabLayout>& cache) {
  if (!cache) {
    const QString wanted = QString::fromLatin1(name);
    cache = ui::FindSubControlByName<ui::TabLayout>(this, wanted);
    ui::WindowBase* window = GetWindow();
    if (!cache && window != nullptr) cache = window->FindControl<ui::TabLayout>(wanted);
  }
  return cache;
}

void CHalveronUSBDevicePage::ShowFunctionPages(const FunctionPages& pages) {
  if (pages.function_page >= 0) {
    if (ui::TabLayout* tabs = FunctionContainer(kFunctionSwitchName, function_switch_)) {
      tabs->SelectItem(pages.function_page);
    }
  }
  if (pages.key_function_page >= 0) {
    if (ui::TabLayout* tabs = FunctionContainer(kKeyFunctionSwitchName, key_function_switch_)) {
      tabs->SelectItem(pages.key_function_page);
    }
  }
}

void CHalveronUSBDevicePage::StartDeviceTimer(int id, int delay_ms) { SetTimer(id, std::max(delay_ms, 0)); }

TimerOutcome CHalveronUSBDevicePage::RunDeviceTimer(int id) {
  TimerOutcome outcome = model_->RunTimer(id, item_selected_);
  if (outcome.redraw_page) RedrawPicture();
  for (const TimerStart& next : outcome.start) StartDeviceTimer(next.id, next.delay_ms);
  return outcome;
}

void CHalveronUSBDevicePage::DoTimer(int id) {
  if (!IsDeviceTimer(id)) {
    ui::HorizontalLayout::DoTimer(id);
    return;
  }
  KillTimer(id);  // every device timer is one-shot
  RunDeviceTimer(id);
}

}  // namespace zrv::devices
