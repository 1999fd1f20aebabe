// The device pages of the main window, their selector items, and attaching and detaching devices
// as discovery reports them.

#include "app/device_option.h"
#include "app/light_sync.h"
#include "app/main_wnd.h"
#include "app/profile_flows.h"
#include "app/tool_description.h"
#include "app/window_messages.h"
#include "devices/device_page.h"
#include "devices/device_page_factory.h"
#include "editors/key_set_flow.h"
#include "editors/light_flow.h"
#include "platform/debug_output.h"
#include "ui/containers.h"
#include "ui/dialog_builder.h"

namespace zrv::app {
namespace {

// What the lighting editors' synchronising needs of the window.
editors::LightFlow::SyncHooks LightSyncHooks(CMainWnd& window) {
  editors::LightFlow::SyncHooks hooks;
  hooks.keyboards = [&window] { return window.Keyboards(); };
  hooks.others = [&window] {
    std::vector<devices::CHalveronUSBDevice*> others = window.Mice();
    others.insert(others.end(), window.MousePads().begin(), window.MousePads().end());
    others.insert(others.end(), window.Headsets().begin(), window.Headsets().end());
    return others;
  };
  hooks.share = [&window](int type, const config::LightZoneFields& fields) {
    LightSyncThread* thread = window.LightSync();
    if (thread == nullptr) return;
    LightSyncEffect effect;
    effect.type = static_cast<LightSyncType>(type);
    effect.brightness = fields.light;
    effect.speed = fields.speed;
    effect.fx = fields.fx != 0;
    effect.multicolour = fields.multi_color != 0;
    effect.red = fields.red;
    effect.green = fields.green;
    effect.blue = fields.blue;
    thread->SetEffect(effect);
  };
  return hooks;
}

}  // namespace

void CMainWnd::CreateDevicePages() {
  auto* page_container = FindControl<ui::Container>(QString::fromLatin1(kPageContainer));
  auto* item_container = FindControl<ui::Container>(QString::fromLatin1(DeviceSelector::kItemContainer));
  pages_.assign(device::kDeviceKindCount, nullptr);
  if (page_container == nullptr || item_container == nullptr) {
    platform::DebugOut("main window: the layout has no device page or selector container");
    return;
  }
  for (size_t row = 0; row < device::kDeviceKindCount; ++row) {
    const device::DeviceKindRow kind_row = interfaces_->EffectiveRow(device::kDeviceKindTable[row]);
    const std::optional<size_t> index = interfaces_->FindKindRecord(kind_row);
    const device::InterfaceRecord record = index ? interfaces_->Get(*index) : device::InterfaceRecord{};
    QString error;
    devices::CHalveronUSBDevicePage* page = devices::CreateDevicePage(row, record, this, page_container, &error);
    if (page == nullptr) {
      platform::DebugPrintf("device page of %s not built: %s", std::string(kind_row.kind_name).c_str(),
                            error.toStdString().c_str());
      continue;
    }
    pages_[row] = page;
    page->AddRoutes(routes_);
    if (auto flow =
            editors::KeySetFlow::Bind(*page, [this](const QString& text, bool is_id) { MessageBox(text, is_id); })) {
      flow->AddRoutes(routes_);
      key_set_flows_.push_back(std::move(flow));
    }
    if (auto flow = editors::LightFlow::Bind(*page, ScreenSize())) {
      flow->AddRoutes(routes_);
      flow->SetSyncHooks(LightSyncHooks(*this));
      light_flows_.push_back(std::move(flow));
    }
    profile_flows_->AdoptBar(page->ProfileBar());  // a first start that could not write its list
    devices::CHalveronUSBDevice& model = page->Model();
    attacher_->AddDevice(model);
    switch (kind_row.kind) {
      case device::DeviceKind::kMouse:
      case device::DeviceKind::kWirelessMouse: mice_.push_back(&model); break;
      case device::DeviceKind::kKeyboard: keyboards_.push_back(&model); break;
      case device::DeviceKind::kMousePad: mouse_pads_.push_back(&model); break;
      case device::DeviceKind::kHeadset: headsets_.push_back(&model); break;
      default: break;
    }

    ui::DialogBuilder builder;
    auto* item =
        dynamic_cast<CDeviceOptionUI*>(builder.Create(QString::fromUtf8(kind_row.item_layout), this, item_container));
    if (item == nullptr) {
      platform::DebugPrintf("selector item of %s not built: %s", std::string(kind_row.kind_name).c_str(),
                            builder.Error().ToString().toStdString().c_str());
      continue;
    }
    if (item->SelectOption() != nullptr) item->SelectOption()->SetGroup(QString::fromUtf8(kind_row.group));
    item->SetKind(kind_row.kind, 0);
    item->BindPage(QString::fromLatin1(DeviceSelector::kDeviceSwitch), 0, QString::fromLatin1(kPageContainer),
                   page_container->GetItemIndex(page));
    item->SetDevice(page);
    // Every device starts absent: its item shows when the device arrives.
    selector_.SelectItem(selector_.IndexOf(item), false, false);
  }
}

devices::CHalveronUSBDevicePage* CMainWnd::PageOf(const device::AttachableDevice* device) const {
  for (devices::CHalveronUSBDevicePage* page : pages_) {
    if (page != nullptr && &page->Model() == device) return page;
  }
  return nullptr;
}

// ---- discovery's messages

void CMainWnd::Send(device::DiscoveryMessage message, size_t index, std::shared_ptr<platform::Handover> handover) {
  // Dropped with the window: a discovery thread still waiting gives up at its stop.
  QMetaObject::invokeMethod(
      this, [this, event = DiscoveryEvent{message, index, std::move(handover)}] { OnDiscoveryEvent(event); },
      Qt::QueuedConnection);
}

void CMainWnd::PostFirstScanDone() {
  QMetaObject::invokeMethod(
      this,
      [this] {
        ShowYourself({0, 0});
        StartUpdateCheck();
      },
      Qt::QueuedConnection);
}

void CMainWnd::OnDiscoveryEvent(DiscoveryEvent event) {
  // Arrivals and removals keep the device objects in step with discovery: while the machine is
  // suspended they wait for the resume instead of being lost.
  if (!PowerRunning()) {
    deferred_discovery_events_.push_back(std::move(event));
    return;
  }
  HandleDiscoveryEvent(event);
}

void CMainWnd::HandleDiscoveryEvent(const DiscoveryEvent& event) {
  if (event.handover && !event.handover->Begin()) return;  // discovery stopped waiting: it has ended
  if (attacher_ != nullptr) {
    if (event.message == device::DiscoveryMessage::kDeviceAdd) {
      AttachDevice(event.index);
    } else {
      DetachDevice(event.index);
    }
  }
  if (event.handover) event.handover->Complete();
}

void CMainWnd::AttachDevice(size_t index) {
  const device::AttachResult result = attacher_->Attach(index);
  const device::InterfaceRecord record = interfaces_->Get(index);
  if (result.device != nullptr && result.changed && record.role == device::kRoleCommand) {
    devices::CHalveronUSBDevicePage* page = PageOf(result.device);
    const int item_index = selector_.IndexOfDevice(page);
    if (item_index >= 0) {
      selector_.SelectItem(item_index, true, true);
      selector_.ItemAt(item_index)->StartAttachTimer();
    }
  }
  ShowNoDeviceState(!attacher_->AnyConnected());
  showNormal();
  BringToFront();
}

void CMainWnd::DetachDevice(size_t index) {
  const device::AttachResult result = attacher_->Detach(index);
  if (result.device == nullptr || interfaces_->Get(index).role != device::kRoleCommand) return;
  const int item_index = selector_.IndexOfDevice(PageOf(result.device));
  if (item_index >= 0) selector_.HideItem(item_index);
}

void CMainWnd::ShowNoDeviceState(bool no_device) {
  if (ui::Control* link = FindControl(QString::fromLatin1(DeviceSelector::kNoDeviceLink))) link->SetVisible(no_device);
  if (!no_device) return;
  if (auto* pages = FindControl<ui::TabLayout>(QString::fromLatin1(DeviceSelector::kDeviceSwitch))) {
    pages->SelectItem(DeviceSelector::kNoDevicePage);
  }
  if (auto* power = FindControl<ui::TabLayout>(QString::fromLatin1(DeviceSelector::kPowerSwitch))) {
    power->SelectItem(DeviceSelector::kNoPowerPage);
  }
}

QByteArray CMainWnd::DescribeDevicesBlock() const {
  if (interfaces_ == nullptr) return {};
  std::vector<device::DeviceKindRow> rows;
  for (const device::DeviceKindRow& row : device::kDeviceKindTable) rows.push_back(interfaces_->EffectiveRow(row));
  return DescribeDevices(rows);
}

}  // namespace zrv::app
