// zrv31ctl descriptor FILE: the top-level collections of a report descriptor given as hex text,
// one JSON object per line, in the shape the HID class driver reports them.

#include <fstream>

#include "cli/commands.h"
#include "device/hid_descriptor.h"

namespace zrv::cli {
namespace {

using device::HidCollectionInfo;
using device::HidReportType;

void WriteCounts(std::ostream& out, const char* key, const std::array<std::vector<device::HidCapability>, 3>& caps) {
  out << '"' << key << "\":{\"input\":" << caps[Index(HidReportType::kInput)].size()
      << ",\"output\":" << caps[Index(HidReportType::kOutput)].size()
      << ",\"feature\":" << caps[Index(HidReportType::kFeature)].size() << '}';
}

// collection is the 1-based number of the collection, or 0 when the descriptor has only one (its
// interface path then carries no collection token).
void WriteCollection(std::ostream& out, const HidCollectionInfo& info, int collection) {
  out << "{\"collection\":" << collection << ",\"usage_page\":" << info.usage_page << ",\"usage\":" << info.usage
      << ",\"input_report_byte_length\":" << info.report_byte_length[Index(HidReportType::kInput)]
      << ",\"output_report_byte_length\":" << info.report_byte_length[Index(HidReportType::kOutput)]
      << ",\"feature_report_byte_length\":" << info.report_byte_length[Index(HidReportType::kFeature)] << ',';
  WriteCounts(out, "button_caps", info.button_caps);
  out << ',';
  WriteCounts(out, "value_caps", info.value_caps);
  out << "}\n";
}

}  // namespace

int RunDescriptor(const Args& args, std::ostream& out, std::ostream& err) {
  if (args.size() != 1) {
    err << "usage: zrv31ctl descriptor FILE\n";
    return 2;
  }
  const std::string& path = args[0];
  // Read in chunks: the stream turns a failed read (a directory, say) into its bad bit.
  std::ifstream file(path, std::ios::binary);
  std::string text;
  char chunk[4096];
  while (file.is_open() && (file.read(chunk, sizeof chunk) || file.gcount() > 0)) {
    text.append(chunk, static_cast<size_t>(file.gcount()));
  }
  if (!file.is_open() || file.bad()) {
    err << "zrv31ctl descriptor: cannot read '" << path << "'\n";
    return 2;
  }
  std::vector<uint8_t> bytes;
  std::string error;
  if (!device::ParseHexBytes(text, bytes, error)) {
    err << "zrv31ctl descriptor: " << path << ": " << error << '\n';
    return 2;
  }
  device::HidReportDescriptor descriptor;
  if (!device::ParseReportDescriptor(bytes, descriptor, error)) {
    err << "zrv31ctl descriptor: " << path << ": " << error << '\n';
    return 2;
  }
  const bool single = descriptor.collections.size() == 1;
  for (const HidCollectionInfo& info : descriptor.collections) WriteCollection(out, info, single ? 0 : info.number);
  return 0;
}

}  // namespace zrv::cli
