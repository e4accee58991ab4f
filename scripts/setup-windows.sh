#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under Wine need (as root, or with sudo).
set -euo pipefail
source "$(dirname "$0")/lib/packages.sh"

packages=(g++-mingw-w64-x86-64 wine64 wine googletest cmake ninja-build libcli11-dev nlohmann-json3-dev g++)

install_missing "${packages[@]}"
