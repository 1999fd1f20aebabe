#!/usr/bin/env bash
# Builds the program and starts it. Arguments are passed to the program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
cmake -S . -B build -G Ninja -DZRV31_TESTS=OFF -DZRV31_BENCH=OFF >/dev/null
cmake --build build --target zrv31
exec build/src/app/zrv31 "$@"
