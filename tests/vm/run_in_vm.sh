#!/usr/bin/env bash
# Runs the kernel HID tests in one boot of the test virtual machine.
#   run_in_vm.sh VM_RUN KERNEL_TEST_PROGRAM ZRV31CTL
# Exit status: 0 passed, 1 failed, 77 skipped (the virtual machine cannot run here).
set -u
vm_run=$1
tests=$2
ctl=$3
here=$(cd "$(dirname "$0")" && pwd)

if [ ! -x "$vm_run" ]; then
  echo "SKIPPED: no virtual machine runner at $vm_run"
  exit 77
fi
# The machine shares this file system: a work folder here is the same folder inside.
work=$(mktemp -d "${TMPDIR:-/tmp}/zrv31-vm.XXXXXX")
trap 'rm -rf "$work"' EXIT

"$vm_run" --timeout 600 -- bash "$here/kernel_suite.sh" "$tests" "$ctl" "$work"
status=$?
case $status in
  0) exit 0 ;;
  125) echo "SKIPPED: the virtual machine could not run (vm-run exit status 125)"; exit 77 ;;
  77) echo "SKIPPED: the virtual machine has no uhid"; exit 77 ;;
  *) echo "FAILED: the kernel HID tests ended with status $status"; exit 1 ;;
esac
