// zrv31ctl: inspects HID interfaces and talks to the supported devices from the command line.

#include <cstring>
#include <functional>
#include <iostream>
#include <string>

#include "cli/commands.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const zrv::cli::Args&, std::ostream&, std::ostream&);
};

constexpr Command kCommands[] = {
    {"interfaces", "interfaces                 list every HID interface path", zrv::cli::RunInterfaces},
    {"descriptor", "descriptor FILE            decode a report descriptor given as hex text",
     zrv::cli::RunDescriptor},
};

int Usage(std::ostream& out, int status) {
  out << "usage: zrv31ctl COMMAND [ARGS]\n";
  for (const auto& command : kCommands) out << "  " << command.usage << '\n';
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage(std::cerr, 2);
  std::string name = argv[1];
  if (name == "-h" || name == "--help" || name == "help") return Usage(std::cout, 0);
  zrv::cli::Args args(argv + 2, argv + argc);
  for (const auto& command : kCommands) {
    if (name == command.name) return command.run(args, std::cout, std::cerr);
  }
  std::cerr << "zrv31ctl: unknown command '" << name << "'\n";
  return Usage(std::cerr, 2);
}
