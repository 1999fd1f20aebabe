#!/bin/bash
# Runs inside the test virtual machine: the kernel test program, then zrv31ctl against simulated
# devices that `zrv31ctl sim-uhid` plugs into the kernel through /dev/uhid.
#   kernel_suite.sh KERNEL_TEST_PROGRAM ZRV31CTL WORK_FOLDER
# Exit status: 0 passed, 1 failed, 77 no uhid in this kernel.
set -u
tests=$1
ctl=$2
work=$3
here=$(cd "$(dirname "$0")" && pwd)

[ -c /dev/uhid ] || { echo "no /dev/uhid"; exit 77; }

failures=0
check() {
  local what=$1
  shift
  if "$@"; then
    echo "ok   $what"
  else
    echo "FAIL $what"
    failures=$((failures + 1))
  fi
}
step() { printf '\n== %s\n' "$*"; }

# start_sim OUTPUT ARGS...: `zrv31ctl sim-uhid ARGS` in the background (pid in sim_pid); waits for
# its ready line.
start_sim() {
  local out=$1
  shift
  "$ctl" sim-uhid "$@" >"$out" 2>"$out.err" &
  sim_pid=$!
  for _ in $(seq 200); do
    grep -qx ready "$out" && return 0
    kill -0 "$sim_pid" 2>/dev/null || break
    sleep 0.05
  done
  echo "sim-uhid $* did not get ready:"
  cat "$out" "$out.err"
  return 1
}
# plugged OUTPUT KIND FIELD: the kernel HID name (3) or node (4) sim-uhid printed for KIND.
plugged() { awk -v kind="$2" -v field="$3" '$1 == "plugged" && $2 == kind { print $field; exit }' "$1"; }
paths_of() { "$ctl" interfaces | grep -F "#$1#"; }
count_lines() { grep -c . || true; }
absent() { [ ! -e "$1" ]; }

step "kernel test program"
check "kernel test program" "$tests" --gtest_color=no

step "interfaces and info of a keyboard plugged by sim-uhid"
if start_sim "$work/keyboard.out" keyboard; then
  name=$(plugged "$work/keyboard.out" keyboard 3)
  node=$(plugged "$work/keyboard.out" keyboard 4)
  listed=$(paths_of "$name")
  echo "$listed"
  check "four collections listed" [ "$(count_lines <<<"$listed")" = 4 ]
  check "notification collection: consumer control, 5-byte reports" grep -qF \
    "$node#$name#vid_320f&pid_505b&mi_01&col03  vid=320f pid=505b version=0107 interface=1 collection=3 usage_page=000c usage=0001 input=5 output=0 feature=0" <<<"$listed"
  check "command collection: vendor 0xff1c/0x92, 64-byte reports" grep -qF \
    "$node#$name#vid_320f&pid_505b&mi_01&col04  vid=320f pid=505b version=0107 interface=1 collection=4 usage_page=ff1c usage=0092 input=64 output=64 feature=0" <<<"$listed"

  ZRV31_DEBUG=1 "$ctl" info >"$work/info.out" 2>"$work/info.err"
  info_status=$?
  cat "$work/info.out"
  check "info succeeds" [ "$info_status" = 0 ]
  check "info reads the keyboard through its hidraw node" grep -qxF "keyboard  $node#$name#vid_320f&pid_505b&mi_01&col04" "$work/info.out"
  check "info shows the keyboard's 34-byte block" \
    awk '/^  info / { found = (($2 $3 $4 $5 $6 $7 $8 $9) == "01070101047e407e") && NF == 35 } END { exit !found }' "$work/info.out"
  check "info traces every exchange correctly" awk -f "$here/check_traces.awk" "$work/info.err"

  kill -TERM "$sim_pid"
  wait "$sim_pid"
  check "SIGTERM ends sim-uhid with status 0" [ $? = 0 ]
  check "the node is gone" absent "$node"
  check "nothing of the keyboard is listed" [ -z "$(paths_of "$name")" ]
else
  check "sim-uhid keyboard gets ready" false
fi

step "sim-uhid --unplug-after"
# Long enough for the listing below on a busy host, where the virtual machine runs slowly.
if start_sim "$work/unplug.out" keyboard,mouse --unplug-after 8000; then
  keyboard=$(plugged "$work/unplug.out" keyboard 3)
  mouse=$(plugged "$work/unplug.out" mouse 3)
  check "two devices with their own nodes" [ -n "$keyboard" -a -n "$mouse" -a "$keyboard" != "$mouse" ]
  "$ctl" interfaces >"$work/both.out"
  check "both listed" [ "$(grep -cF "#$keyboard#" "$work/both.out")" = 4 -a "$(grep -cF "#$mouse#" "$work/both.out")" = 4 ]
  wait "$sim_pid"
  check "ends by itself with status 0 after the unplug" [ $? = 0 ]
  check "says so for both" [ "$(grep -c '^unplugged ' "$work/unplug.out")" = 2 ]
  check "neither is listed any more" [ -z "$(paths_of "$keyboard")$(paths_of "$mouse")" ]
else
  check "sim-uhid keyboard,mouse gets ready" false
fi

step "sim-uhid --seconds, SIGINT, bad usage"
start=$(date +%s%N)
"$ctl" sim-uhid headset --seconds 1 >"$work/seconds.out" 2>&1
check "--seconds 1 ends with status 0" [ $? = 0 ]
check "--seconds 1 lasts a second" [ $(( ($(date +%s%N) - start) / 1000000 )) -ge 1000 ]
check "--seconds 1 plugged the headset" grep -q '^plugged headset ' "$work/seconds.out"
if start_sim "$work/int.out" mousepad; then
  kill -INT "$sim_pid"
  wait "$sim_pid"
  check "SIGINT ends sim-uhid with status 0" [ $? = 0 ]
fi
"$ctl" sim-uhid >/dev/null 2>&1
check "no list: usage error" [ $? = 2 ]
"$ctl" sim-uhid toaster >/dev/null 2>&1
check "unknown device: usage error" [ $? = 2 ]
"$ctl" sim-uhid keyboard --seconds soon >/dev/null 2>&1
check "bad count: usage error" [ $? = 2 ]

step "summary"
if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
