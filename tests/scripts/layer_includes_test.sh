#!/usr/bin/env bash
# Every include of src/ goes down the layers (or sideways where the link graph allows), never up:
# the build's per-library include folders refuse most upward includes already, this also catches
# those that a shared include path would let through (tests, benchmarks, a header only included by
# a header). And the layers below the user interface stay free of Qt where they must.
set -uo pipefail
cd "$(dirname "$0")/../../src"

# The folders each folder may include from (its own always).
declare -A allowed=(
  [platform]="platform"
  [platform/qt]="platform"
  [platform/input]="platform"
  [device]="platform"
  [sim]="device platform"
  [config]="device platform"
  [update]="config device platform"
  [ui]="platform"
  [controls]="ui config device platform"
  [devices/model]="config device platform"
  [devices]="controls ui config device platform"
  [editors]="devices controls ui config device platform"
  [app]="editors devices controls ui update config sim device platform"
  [cli]="sim device platform"
)
# No Qt at all in these.
qt_free="platform device sim"

failed=0
while IFS= read -r file; do
  folder=$(dirname "$file")
  folder=${folder#./}
  area=$folder
  [ -n "${allowed[$area]+set}" ] || { echo "$file: folder $folder has no place in the layers"; failed=1; continue; }
  while IFS= read -r target; do
    # platform/qt/x.h is in platform/qt; devices/model/x.h in devices/model; a/x.h in a.
    target_folder=$(dirname "$target")
    [ "$target_folder" = "$folder" ] && continue
    ok=0
    for lower in ${allowed[$area]}; do
      if [ "$target_folder" = "$lower" ]; then ok=1; fi
      # A sub-library of a lower folder may be used where the lower one may (not platform's:
      # platform/qt and platform/input are used only where listed, see below).
      if [ "$lower" != platform ] && [[ "$target_folder" == "$lower"/* ]]; then ok=1; fi
    done
    case "$area:$target_folder" in
      app:platform/qt | app:platform/input | editors:platform/input | update:platform/qt) ok=1 ;;
      devices:devices/model | platform/input:platform | platform/qt:platform) ok=1 ;;
    esac
    if [ $ok -eq 0 ]; then
      echo "$file includes \"$target\": $area may not include from $target_folder"
      failed=1
    fi
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\/[^"]*\)".*/\1/p' "$file")
  for free in $qt_free; do
    if [ "$area" = "$free" ] && grep -qE '^[[:space:]]*#[[:space:]]*include[[:space:]]*<Q' "$file"; then
      echo "$file: Qt in a layer that must stay free of it"
      failed=1
    fi
  done
done < <(find . -name '*.h' -o -name '*.cpp' | sed 's|^\./||' | sort)
exit $failed
