#!/usr/bin/env bash
# Builds the program and starts it.
#   scripts/run.sh             every kind of device simulated (--simulate=all): the whole program
#                              can be seen and tried without any hardware
#   scripts/run.sh --real      no simulated devices: only the devices plugged into this machine
#   scripts/run.sh ARGS...     the program with these arguments, e.g. --simulate=keyboard
# ZRV31_RUN_DRY=1 prints the program's command line instead of building and starting it.
set -euo pipefail
cd "$(dirname "$0")/.."

real=0
args=()
for arg in "$@"; do
  if [ "$arg" = "--real" ]; then real=1; else args+=("$arg"); fi
done
if [ $real -eq 1 ]; then
  for arg in "${args[@]}"; do
    case $arg in
      --simulate=*) echo "run.sh: --real starts without simulated devices, $arg asks for some" >&2; exit 2 ;;
    esac
  done
elif [ $# -eq 0 ]; then
  args=(--simulate=all)
fi

if [ "${ZRV31_RUN_DRY:-0}" = "1" ]; then
  echo build/src/app/zrv31 "${args[@]}"
  exit 0
fi
scripts/deps.sh
cmake -S . -B build -G Ninja -DZRV31_TESTS=OFF -DZRV31_BENCH=OFF >/dev/null
cmake --build build --target zrv31
exec build/src/app/zrv31 "${args[@]}"
