#!/usr/bin/env bash
# Installs the Debian packages that building and testing Brumo need (as root, or with sudo).
set -euo pipefail
source "$(dirname "$0")/lib/packages.sh"

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format libclang-rt-14-dev
    libgtest-dev libgmock-dev googletest libbenchmark-dev libcli11-dev nlohmann-json3-dev
    qt6-base-dev qt6-base-dev-tools libgl-dev
    attr dosfstools e2fsprogs trash-cli xvfb xauth openbox x11-utils xdotool xdg-utils
    fonts-dejavu-core
    file dpkg-dev appstream desktop-file-utils groff-base ccache lintian
    systemd
)

install_missing "${packages[@]}"
