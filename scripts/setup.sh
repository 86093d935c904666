#!/usr/bin/env bash
# Installs what is missing (Debian packages) and builds. Quick when everything is there.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-serialport-dev libhidapi-dev libudev-dev
          libgl-dev fonts-dejavu-core fonts-liberation clang libclang-rt-dev
          desktop-file-utils shared-mime-info libxml2-utils ser2net
          xvfb xauth dbus at-spi2-core)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

preset="${1:-default}"
cmake --preset "$preset" >/dev/null
dir=$( [ "$preset" = default ] && echo build || echo "build-$preset" )
cmake --build "$dir"
