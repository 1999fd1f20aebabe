#pragma once
// The commands of zrv31ctl. Each takes its own arguments (without the command name), writes its
// results to out and its complaints to err, and returns the process exit status
// (0 success, 1 failure, 2 bad usage or input).

#include <ostream>
#include <string>
#include <vector>

namespace zrv::cli {

using Args = std::vector<std::string>;

// One line per interface path: path, vendor id, product id, version, interface, collection,
// usage page, usage, input/output/feature report byte lengths.
int RunInterfaces(const Args& args, std::ostream& out, std::ostream& err);

// FILE holds a report descriptor as hexadecimal text; one JSON object per top-level collection.
int RunDescriptor(const Args& args, std::ostream& out, std::ostream& err);

// Attaches every supported command collection present and prints its kind, path and information
// block (read between Begin and End) as hex. 1 when none is found or one cannot be read.
int RunInfo(const Args& args, std::ostream& out, std::ostream& err);

// LIST [--seconds N] [--unplug-after MS]: plugs the listed simulated devices into the kernel through
// /dev/uhid and keeps them until SIGTERM / SIGINT or N seconds; prints "ready" once they are there.
int RunSimUhid(const Args& args, std::ostream& out, std::ostream& err);

}  // namespace zrv::cli
