#!/usr/bin/env bash
# Idle cost of the program with one simulated keyboard attached, on an X server (Xvfb): the CPU
# time it takes over 10 s with the window shown on the keyboard's page, its keys running the wave at
# the fastest speed (set with a click on the speed slider), then over 10 s hidden in the
# tray (after a click on the title bar's close button), and its resident memory.
#   bench/idle_cpu.sh [BUILD_DIR] [SECONDS]      (defaults: build, 10)
# Targets: under 3 % of one core shown, under 1 % hidden, under 120 MB resident. Exit status 1 when
# a target is missed.
#
# Xvfb has no notification area; ZRV31_ASSUME_TRAY=1 makes the program hide its window as it does
# on a desktop that has one. A private session bus stands in for the desktop's (as in startup.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${ZRV31_BENCH_BUS:-}" ]; then
  exec dbus-run-session -- env ZRV31_BENCH_BUS=1 "$0" "$@"
fi
build=${1:-build}
seconds=${2:-10}
exe=$build/src/app/zrv31
[ -x "$exe" ] || { echo "no $exe: build the target zrv31 first" >&2; exit 1; }
for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: scripts/deps.sh --test" >&2; exit 1; }
done

work=$(mktemp -d)
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pid=
cleanup() {
  [ -n "$pid" ] && kill -TERM "$pid" 2>/dev/null || true
  kill "$xvfb" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display

mkdir -p "$work"/{data,config,tmp,runtime}
chmod 700 "$work/runtime"
coproc APP {
  exec env QT_QPA_PLATFORM=xcb ZRV31_ANNOUNCE=1 ZRV31_ASSUME_TRAY=1 \
    XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" TMPDIR="$work/tmp" \
    XDG_RUNTIME_DIR="$work/runtime" "$exe" --simulate=keyboard 2>/dev/null
}
pid=$APP_PID
shown=0
while read -r -t 20 -u "${APP[0]}" line; do
  if [ "$line" = "window shown" ]; then shown=1; break; fi
done
[ $shown -eq 1 ] || { echo "the window was not shown" >&2; exit 1; }
# Attach, the read-out 500 ms later and the fit to the screen are over by then.
sleep 3

ticks_per_second=$(getconf CLK_TCK)
cpu_ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
# Percent of one core used over the measuring time.
measure() {
  local before after
  before=$(cpu_ticks)
  sleep "$seconds"
  after=$(cpu_ticks)
  awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$seconds" 'BEGIN { printf "%.2f", 100 * t / hz / s }'
}
window_state() {
  local id
  id=$(xdotool search --name '^ZRV-31 Gaming Keyboard$' 2>/dev/null | while read -r w; do
    xwininfo -id "$w" | grep -q 'Width: 1000' && echo "$w"; done | head -1)
  [ -n "$id" ] || { echo none; return; }
  echo "$id $(xwininfo -id "$id" | awk -F': *' '/Map State/ {print $2}')"
}

read -r window map_state < <(window_state)
[ "$map_state" = "IsViewable" ] || { echo "the window is not on screen ($window $map_state)" >&2; exit 1; }
# The right end of the lighting tab's speed slider: the fastest speed, sent to the keyboard at once.
xdotool mousemove --window "$window" 462 505 click 1
sleep 1
shown_cpu=$(measure)

# The title bar's close button (32 x 32, 10 pixels from the right edge, in the 52-pixel bar):
# the window goes to the tray.
xdotool mousemove --window "$window" 974 26 click 1
sleep 1
read -r _ map_state < <(window_state)
[ "$map_state" = "IsUnMapped" ] || { echo "the window did not go to the tray ($map_state)" >&2; exit 1; }
hidden_cpu=$(measure)

rss_kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
kill -TERM "$pid"
wait "$pid" || { echo "exit status $?" >&2; exit 1; }
pid=

echo "CPU, one simulated keyboard, over ${seconds} s: shown ${shown_cpu} % (target < 3 %), hidden ${hidden_cpu} % (target < 1 %)"
echo "resident memory: $((rss_kib / 1024)) MiB ($rss_kib KiB) (target < 120 MB)"
awk -v s="$shown_cpu" -v h="$hidden_cpu" -v r="$rss_kib" \
  'BEGIN { exit !(s < 3 && h < 1 && r * 1024 < 120 * 1000 * 1000) }'
