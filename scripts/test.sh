#!/usr/bin/env bash
# Builds and runs the whole test suite: a plain build of the program and the benchmarks with the
# kernel HID test in a VM, then every other test under AddressSanitizer + UndefinedBehaviorSanitizer,
# then ThreadSanitizer over the threaded tests, then a bounded run of the fuzzers.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh --test

jobs=$(nproc)
# A test that hangs fails after this long instead of holding the run (tests with a TIMEOUT of their
# own, like the VM test, keep it).
test_timeout=300
fuzz_seconds=${ZRV31_FUZZ_SECONDS:-30}

step() { printf '\n==== %s\n' "$*"; }

# The tests run once, under the sanitizers; the plain build makes what users and the benchmarks
# run, and the test that boots the kernel HID stack in a virtual machine (too slow instrumented).
step "plain build: program, command-line tool, benchmarks, kernel HID test in a VM"
cmake -S . -B build -G Ninja
cmake --build build --target zrv31 zrv31ctl benchmarks vm_kernel_tests
ctest --test-dir build --output-on-failure --timeout "$test_timeout" -L vm

step "AddressSanitizer + UndefinedBehaviorSanitizer"
cmake -S . -B build-asan -G Ninja -DZRV31_SANITIZE=address -DZRV31_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
cmake --build build-asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure --timeout "$test_timeout" -j "$jobs" -LE vm

step "ThreadSanitizer (threaded tests)"
cmake -S . -B build-tsan -G Ninja -DZRV31_SANITIZE=thread -DZRV31_BENCH=OFF -DCMAKE_BUILD_TYPE=Debug
cmake --build build-tsan --target threaded_tests
TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1:suppressions=$PWD/tests/tsan.supp \
  ctest --test-dir build-tsan --output-on-failure --timeout "$test_timeout" -j "$jobs" -L threaded -LE vm

step "fuzzers (${fuzz_seconds} s each)"
CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DZRV31_FUZZ=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build-fuzz
for fuzzer in build-fuzz/fuzz/*_fuzzer; do
  corpus=fuzz/corpus/$(basename "$fuzzer")
  work=$(mktemp -d)
  # A hostile input must not make the code under test ask for more than this.
  "$fuzzer" -max_total_time="$fuzz_seconds" -rss_limit_mb=1024 -malloc_limit_mb=256 -print_final_stats=1 \
    "$work" "$corpus"
  rm -rf "$work"
done

step "all tests passed"
