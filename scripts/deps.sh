#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs; does nothing when they are all there.
#   scripts/deps.sh          what building and running the program needs
#   scripts/deps.sh --test   that, plus what the test suite needs
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libqt6svg6-dev libgl-dev
  libjsoncpp-dev libudev-dev libcurl4-openssl-dev
  libxcb1-dev libxcb-xinput-dev libxcb-xkb-dev
  fonts-inter fonts-wqy-microhei
)
if [ "${1:-}" = "--test" ]; then
  packages+=(
    googletest libgtest-dev libgmock-dev libbenchmark-dev
    python3 openssl curl ca-certificates
    clang clang-format libclang-rt-14-dev
    xvfb xauth dbus dbus-x11 x11-utils xdotool imagemagick libxcb-xtest0-dev
    qemu-system-x86 linux-image-amd64 busybox-static cpio
  )
fi

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [ "$status" = "install ok installed" ] || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
