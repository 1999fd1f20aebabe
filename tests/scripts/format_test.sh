#!/usr/bin/env bash
# Every C++ file of the tree is formatted as .clang-format says (clang-format -i fixes it).
set -uo pipefail
cd "$(dirname "$0")/../.."
git ls-files '*.h' '*.cpp' | xargs clang-format --dry-run --Werror 2>&1 | head -40
exit "${PIPESTATUS[1]}"
