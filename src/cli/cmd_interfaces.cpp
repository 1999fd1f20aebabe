#include <cstdio>

#include "cli/commands.h"
#include "device/hid_interface.h"

namespace zrv::cli {

int RunInterfaces(const Args& args, std::ostream& out, std::ostream& err) {
  if (!args.empty()) {
    err << "zrv31ctl interfaces: takes no arguments\n";
    return 2;
  }
  device::HidInterface enumerator;
  if (enumerator.EnumeratePaths() != 1) {
    err << "zrv31ctl interfaces: the HID interfaces could not be listed\n";
    return 1;
  }
  // Without access rights the interface still shows its identity and capabilities (from sysfs).
  device::HidInterface hid;
  while (auto path = enumerator.NextPath()) {
    char line[256];
    if (hid.Open(*path, false, false, false, false) != 1) {
      out << *path << "  (gone)\n";
      continue;
    }
    std::snprintf(line, sizeof line,
                  "  vid=%04x pid=%04x version=%04x interface=%u collection=%u usage_page=%04x usage=%04x"
                  " input=%u output=%u feature=%u",
                  hid.VendorId(), hid.ProductId(), hid.Version(), hid.InterfaceNumber(), hid.CollectionNumber(),
                  hid.UsagePage(), hid.Usage(), hid.InputReportLength(), hid.OutputReportLength(),
                  hid.FeatureReportLength());
    out << *path << line << '\n';
    hid.Close();
  }
  return 0;
}

}  // namespace zrv::cli
