#!/usr/bin/env bash
# Start-up benchmark: time from starting zrv31 to its main window painted on an X server (Xvfb),
# over several runs, and the resident memory of the idle window. Target: median under 400 ms.
#   bench/startup.sh [BUILD_DIR] [RUNS]      (defaults: build, 9)
# Each run has fresh data, configuration and runtime folders, so every run is a first start; all
# runs share one private session bus, as on a desktop (without a bus, Qt's own D-Bus users would
# autolaunch one per run). The program says "window shown" (ZRV31_ANNOUNCE=1) after its first paint.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${ZRV31_BENCH_BUS:-}" ]; then
  exec dbus-run-session -- env ZRV31_BENCH_BUS=1 "$0" "$@"
fi
build=${1:-build}
runs=${2:-9}
exe=$build/src/app/zrv31
[ -x "$exe" ] || { echo "no $exe: build the target zrv31 first" >&2; exit 1; }
command -v Xvfb >/dev/null || { echo "Xvfb is missing: scripts/deps.sh --test" >&2; exit 1; }

work=$(mktemp -d)
display=:$((90 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() { kill "$xvfb" 2>/dev/null || true; rm -rf "$work"; }
trap cleanup EXIT
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done

times=()
rss_kib=0
for run in $(seq "$runs"); do
  home=$work/run$run
  mkdir -p "$home"/{data,config,tmp,runtime}
  chmod 700 "$home/runtime"
  start=$(date +%s%N)
  coproc APP {
    exec env DISPLAY="$display" QT_QPA_PLATFORM=xcb ZRV31_ANNOUNCE=1 \
      XDG_DATA_HOME="$home/data" XDG_CONFIG_HOME="$home/config" TMPDIR="$home/tmp" \
      XDG_RUNTIME_DIR="$home/runtime" "$exe" 2>/dev/null
  }
  pid=$APP_PID
  shown=0
  while read -r -t 20 -u "${APP[0]}" line; do
    if [ "$line" = "window shown" ]; then shown=1; break; fi
  done
  end=$(date +%s%N)
  if [ $shown -ne 1 ]; then echo "run $run: the window was not shown" >&2; kill "$pid" 2>/dev/null; exit 1; fi
  times+=($(( (end - start) / 1000000 )))
  if [ "$run" -eq "$runs" ]; then
    sleep 2  # idle
    rss_kib=$(awk '/^VmRSS:/ {print $2}' "/proc/$pid/status")
  fi
  kill -TERM "$pid"
  wait "$pid" || { echo "run $run: exit status $?" >&2; exit 1; }
done

sorted=($(printf '%s\n' "${times[@]}" | sort -n))
median=${sorted[$(( runs / 2 ))]}
echo "start to window shown (ms): ${times[*]}"
echo "median: $median ms (target < 400 ms), min ${sorted[0]} ms, max ${sorted[$((runs - 1))]} ms"
echo "resident memory of the idle window: $((rss_kib / 1024)) MiB ($rss_kib KiB)"
[ "$median" -lt 400 ]
