#!/usr/bin/env bash
# scripts/run.sh: what it starts the program with (dry run: it prints the command line).
set -uo pipefail
cd "$(dirname "$0")/../.."
failed=0
expect() {  # expect "COMMAND LINE" ARGS...
  local want=$1
  shift
  local got
  got=$(ZRV31_RUN_DRY=1 scripts/run.sh "$@" 2>&1)
  if [ "$got" != "$want" ]; then
    echo "run.sh $*: got '$got', want '$want'"
    failed=1
  fi
}
expect "build/src/app/zrv31 --simulate=all"
expect "build/src/app/zrv31 --simulate=keyboard" --simulate=keyboard
expect "build/src/app/zrv31" --real
expect "build/src/app/zrv31 --help" --help --real
if ZRV31_RUN_DRY=1 scripts/run.sh --real --simulate=mouse >/dev/null 2>&1; then
  echo "run.sh --real --simulate=mouse: accepted"
  failed=1
fi
exit $failed
