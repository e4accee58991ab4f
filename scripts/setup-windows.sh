#!/usr/bin/env bash
# Installs what the Windows cross build and its tests under Wine need (as root, or with sudo).
set -euo pipefail

packages=(g++-mingw-w64-x86-64 wine64 wine googletest cmake ninja-build libcli11-dev)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if ((${#missing[@]})); then
    sudo=""
    [ "$(id -u)" -eq 0 ] || sudo="sudo"
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
