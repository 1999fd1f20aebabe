// The worker threads of the main window: discovery (slot 0), the update check (slot 2) and the
// lighting synchronisation (slot 8), and their orderly end.

#include "app/main_wnd.h"
#include "app/update_worker.h"
#include "device/device_grab_thread.h"
#include "platform/debug_output.h"

namespace zrv::app {
namespace {

// Discovery runs its own thread with its own stop event; the slot only starts and stops it.
class DiscoveryWorker : public SlotWorker {
 public:
  DiscoveryWorker(device::InterfaceList& list, device::DiscoverySink& sink) : thread_(list, sink) {}
  bool Start() { return thread_.Start(); }
  void RequestStop() override { thread_.RequestStop(); }
  bool WaitForEnd(std::chrono::milliseconds timeout) override { return thread_.WaitForEnd(timeout); }

 private:
  device::DeviceGrabThread thread_;  // its destructor stops and joins
};

}  // namespace

void CMainWnd::StartWorkerThreads() {
  if (options_.discovery && interfaces_ != nullptr) {
    auto discovery = std::make_unique<DiscoveryWorker>(*interfaces_, *this);
    if (discovery->Start()) slots_.Put(WorkerSlots::kDiscoverySlot, std::move(discovery));
  }
  if (options_.update_check) {
    auto update_check =
        std::make_unique<UpdateWorker>("update check", update::DefaultHttpSettings(), "获取更新线程退出");
    update_check_thread_ = update_check.get();
    slots_.Put(WorkerSlots::kUpdateCheckSlot, std::move(update_check));
    // With discovery the check waits for its first scan (StartUpdateCheck).
    if (!slots_.Occupied(WorkerSlots::kDiscoverySlot)) StartUpdateCheck();
  }
  LightSyncDevices devices;
  for (const auto* list : {&mice_, &keyboards_, &mouse_pads_, &headsets_})
    devices.insert(devices.end(), list->begin(), list->end());
  light_sync_ = std::make_unique<LightSyncThread>(std::move(devices));
  if (options_.light_sync) {
    LightSyncThread* sync = light_sync_.get();
    const auto run = [sync](const platform::StopEvent& stop) { sync->Run(stop); };
    slots_.Put(WorkerSlots::kLightSyncSlot, std::make_unique<SlotThread>("lighting synchronisation", run));
  }
}

void CMainWnd::StopWorkerThreads() {
  if (threads_stopped_) return;
  threads_stopped_ = true;
  hide();
  slots_.StopAll();
}

}  // namespace zrv::app
