// zrv31ctl sim-uhid LIST [--seconds N] [--unplug-after MS]: simulated devices as real kernel HID
// devices (through /dev/uhid) for as long as the command runs.
//
// Output, one line each: "plugged <kind> <kernel HID name> <hidraw node>" per device, then "ready"
// once every device's node exists (scripts wait for it); "unplugged <kind> <kernel HID name>" when
// --unplug-after removes them. Ends on SIGTERM or SIGINT (status 0), after N seconds, or right after
// the unplug when no --seconds was given.

#include <signal.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <optional>
#include <string>
#include <system_error>

#include "cli/commands.h"
#include "sim/simulated_devices.h"
#include "sim/uhid_plug.h"

namespace zrv::cli {
namespace {

using Clock = std::chrono::steady_clock;

struct SimUhidOptions {
  std::string list;
  std::optional<std::chrono::milliseconds> run_for;
  std::optional<std::chrono::milliseconds> unplug_after;
};

bool ParseCount(const std::string& text, long long& value) {
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  return ec == std::errc() && ptr == end && value >= 0 && value <= 1'000'000'000LL;
}

bool ParseOptions(const Args& args, SimUhidOptions& options, std::ostream& err) {
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool has_value = false;
    if (size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg.resize(eq);
      has_value = true;
    }
    if (arg == "--seconds" || arg == "--unplug-after") {
      if (!has_value) {
        if (i + 1 == args.size()) {
          err << "zrv31ctl sim-uhid: " << arg << " needs a number\n";
          return false;
        }
        value = args[++i];
      }
      long long number = 0;
      if (!ParseCount(value, number)) {
        err << "zrv31ctl sim-uhid: " << arg << ": not a count: '" << value << "'\n";
        return false;
      }
      if (arg == "--seconds") {
        options.run_for = std::chrono::seconds(number);
      } else {
        options.unplug_after = std::chrono::milliseconds(number);
      }
    } else if (arg.starts_with("--") || !options.list.empty()) {
      err << "zrv31ctl sim-uhid: unexpected argument '" << args[i] << "'\n";
      return false;
    } else {
      options.list = arg;
    }
  }
  if (options.list.empty()) {
    err << "zrv31ctl sim-uhid: name the devices (keyboard, mouse, wireless-mouse, mousepad, headset or all)\n";
    return false;
  }
  return true;
}

// SIGTERM and SIGINT held back for the command's lifetime and taken with sigtimedwait, so that the
// bridge threads (started while they are blocked, so they inherit the mask) never see them.
class HeldSignals {
 public:
  HeldSignals() {
    sigemptyset(&set_);
    sigaddset(&set_, SIGTERM);
    sigaddset(&set_, SIGINT);
    pthread_sigmask(SIG_BLOCK, &set_, &previous_);
  }
  ~HeldSignals() {
    // Anything that came during the clean-up has been answered by it: drop it before unblocking.
    timespec zero{0, 0};
    while (sigtimedwait(&set_, nullptr, &zero) > 0) {}
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }
  HeldSignals(const HeldSignals&) = delete;
  HeldSignals& operator=(const HeldSignals&) = delete;

  // Sleeps until one of the signals comes (true) or until deadline (false); none: no limit.
  bool WaitUntil(std::optional<Clock::time_point> deadline) {
    for (;;) {
      int signal = 0;
      if (!deadline) {
        signal = sigwaitinfo(&set_, nullptr);
      } else {
        auto left = *deadline - Clock::now();
        if (left <= Clock::duration::zero()) return false;
        auto seconds = std::chrono::duration_cast<std::chrono::seconds>(left);
        auto nanos = std::chrono::duration_cast<std::chrono::nanoseconds>(left - seconds);
        timespec wait{static_cast<time_t>(seconds.count()), static_cast<long>(nanos.count())};
        signal = sigtimedwait(&set_, nullptr, &wait);
      }
      if (signal > 0) return true;
      if (errno != EINTR && errno != EAGAIN) return false;
    }
  }

 private:
  sigset_t set_;
  sigset_t previous_;
};

}  // namespace

int RunSimUhid(const Args& args, std::ostream& out, std::ostream& err) {
  SimUhidOptions options;
  if (!ParseOptions(args, options, err)) return 2;
  std::vector<std::string> names;
  std::string error;
  if (!sim::ParseSimulateList(options.list, names, error)) {
    err << "zrv31ctl sim-uhid: " << error << '\n';
    return 2;
  }

  HeldSignals signals;
  const auto started = Clock::now();
  sim::UhidPlugResult plugged = sim::PlugSimulatedThroughUhid(options.list);
  if (!plugged.ok()) {
    err << "zrv31ctl sim-uhid: " << plugged.error << '\n';
    return 1;
  }
  for (size_t i = 0; i < plugged.devices.size(); ++i) {
    out << "plugged " << plugged.models[i]->KindName() << ' ' << plugged.devices[i]->HidName() << ' '
        << plugged.devices[i]->NodePath() << '\n';
  }
  out << "ready" << std::endl;

  std::optional<Clock::time_point> end, unplug;
  if (options.run_for) end = started + *options.run_for;
  if (options.unplug_after) unplug = Clock::now() + *options.unplug_after;
  if (unplug && end && *end <= *unplug) unplug.reset();  // the end comes first and unplugs anyway

  if (unplug) {
    if (signals.WaitUntil(unplug)) return 0;  // the devices go with `plugged`
    for (size_t i = 0; i < plugged.devices.size(); ++i) {
      plugged.devices[i]->Unplug();
      out << "unplugged " << plugged.models[i]->KindName() << ' ' << plugged.devices[i]->HidName() << '\n';
    }
    out << std::flush;
    if (!end) return 0;
  }
  signals.WaitUntil(end);
  return 0;
}

}  // namespace zrv::cli
