#include "devices/model/macro_write.h"

#include <QString>

#include "config/macro_store.h"
#include "devices/model/slow_link.h"

namespace zrv::devices {
namespace {

constexpr size_t kInfoMacroUnits = 6;

}  // namespace

int WriteMacroImage(DeviceLinks& links, const std::string& user_folder) {
  config::MacroStore store(QString::fromStdString(user_folder));
  // No macros: no command at all, not even the information block is asked for.
  if (store.LoadMacroList().empty()) return 0;
  device::DeviceLink& link = links.Command();
  // The capacity must be the device's current one.
  if (links.Connected() && ProbeIfSlow(link)) link.ReadInfo(links.Info());
  const config::MacroImage image = store.BuildMacroImage(links.Info()[kInfoMacroUnits]);
  if (image.result != 0) return image.result;
  if (image.bytes.empty() || !links.Connected()) return 0;
  if (!ProbeIfSlow(link)) return 0;
  link.Begin();
  if (!ProbeIfSlow(link)) return 0;
  link.WriteMacros(image.bytes);
  if (!ProbeIfSlow(link)) return 0;
  link.End();
  return 0;
}

}  // namespace zrv::devices
