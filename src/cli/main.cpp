// zrv31ctl: inspects HID interfaces and talks to the supported devices from the command line.

#include <cstring>
#include <functional>
#include <iostream>
#include <string>

#include "cli/commands.h"
#include "cli/simulate_option.h"

namespace {

struct Command {
  const char* name;
  const char* usage;
  int (*run)(const zrv::cli::Args&, std::ostream&, std::ostream&);
};

constexpr Command kCommands[] = {
    {"interfaces", "interfaces                 list every HID interface path", zrv::cli::RunInterfaces},
    {"descriptor", "descriptor FILE            decode a report descriptor given as hex text", zrv::cli::RunDescriptor},
    {"info", "info                       read the information block of every supported device", zrv::cli::RunInfo},
    {"sim-uhid",
     "sim-uhid LIST [--seconds N] [--unplug-after MS]\n"
     "                             plug simulated devices into the kernel through uhid",
     zrv::cli::RunSimUhid},
};

int Usage(std::ostream& out, int status) {
  out << "usage: zrv31ctl [--simulate=LIST] COMMAND [ARGS]\n";
  for (const auto& command : kCommands) out << "  " << command.usage << '\n';
  out << "options:\n"
         "  --simulate=LIST            plug simulated devices for the run: a comma list of keyboard,\n"
         "                             mouse, wireless-mouse, mousepad, headset, or all\n";
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  zrv::cli::Args args(argv + 1, argv + argc);
  // Plugged for the whole run; unplugged when main returns.
  zrv::cli::SimulateOption simulate;
  std::string error;
  if (!simulate.Apply(args, error)) {
    std::cerr << "zrv31ctl: " << error << '\n';
    return 2;
  }
  if (args.empty()) return Usage(std::cerr, 2);
  std::string name = args.front();
  if (name == "-h" || name == "--help" || name == "help") return Usage(std::cout, 0);
  args.erase(args.begin());
  for (const auto& command : kCommands) {
    if (name == command.name) return command.run(args, std::cout, std::cerr);
  }
  std::cerr << "zrv31ctl: unknown command '" << name << "'\n";
  return Usage(std::cerr, 2);
}
