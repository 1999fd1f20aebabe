#include "device/hid_backend.h"

#include <mutex>
#include <optional>

#include "device/hidraw_backend.h"
#include "device/virtual_hid.h"

namespace zrv::device {
namespace {

std::mutex g_mutex;
std::optional<std::vector<std::shared_ptr<HidBackend>>> g_override;  // guarded by g_mutex

}  // namespace

std::vector<std::shared_ptr<HidBackend>> HidBackends() {
  std::lock_guard lock(g_mutex);
  if (g_override) return *g_override;
  static const std::vector<std::shared_ptr<HidBackend>> defaults = {MakeHidrawBackend(),
                                                                    VirtualHidRegistry::Instance().Backend()};
  return defaults;
}

ScopedHidBackends::ScopedHidBackends(std::vector<std::shared_ptr<HidBackend>> backends) {
  std::lock_guard lock(g_mutex);
  if (g_override) previous_ = *g_override;
  had_previous_ = g_override.has_value();
  g_override = std::move(backends);
}

ScopedHidBackends::~ScopedHidBackends() {
  std::lock_guard lock(g_mutex);
  if (had_previous_) {
    g_override = std::move(previous_);
  } else {
    g_override.reset();
  }
}

}  // namespace zrv::device
