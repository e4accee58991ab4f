#!/usr/bin/env bash
# Draws the windows on temporary folder trees into docs/ (at 100%) and docs/200/ (at 200%,
# QT_SCALE_FACTOR=2), on a screen of their own with the openbox window manager:
#   scripts/screenshots.sh [BUILD_DIR [SCENE...]]   (no scene: all of them)
# Each line of `shots` is a scene of tests/ui/screenshots/screenshots.cpp and its picture.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
only=("${@:2}")

shots=(
    "picker docs/picker.png"
    "picker-deep docs/picker-deep.png"
    "wizard-name docs/wizard-0-name.png"
    "wizard-folders docs/wizard-1-folders.png"
    "wizard-deletes docs/wizard-2-deletes.png"
    "wizard-protects docs/wizard-3-protects.png"
    "wizard-summary docs/wizard-4-summary.png"
    "wizard-counts docs/wizard-5-counts.png"
    "editors docs/spec-editors.png"
    "main-test-run docs/main-test-run.png"
    "main-after-run docs/main-after-run.png"
    "main-popup docs/main-popup-menu.png"
    "about docs/about.png"
    "dialogs docs/dialogs.png"
    "held docs/held-files.png"
)

[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target ui_screenshots -j2
mkdir -p docs/200

# A screen of its own with a window manager, so that windows get their frames and are taken
# from the screen as a user sees them; large enough for the 200% pictures.
display=""
if command -v Xvfb >/dev/null && command -v openbox >/dev/null; then
    for n in $(seq 90 189); do
        if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
            display=":$n"
            break
        fi
    done
fi
if [ -n "$display" ]; then
    Xvfb "$display" -screen 0 2560x2048x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    wm_pid=""
    trap 'kill $wm_pid $xvfb_pid 2>/dev/null || true' EXIT
    for _ in $(seq 50); do
        [ -e "/tmp/.X11-unix/X${display#:}" ] && break
        sleep 0.1
    done
    DISPLAY=$display openbox >/dev/null 2>&1 &
    wm_pid=$!
    for _ in $(seq 50); do
        DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" &&
            break
        sleep 0.1
    done
else
    echo "no Xvfb and openbox: the pictures are drawn without window frames" >&2
fi

draw() {
    if [ -n "$display" ]; then
        DISPLAY=$display QT_QPA_PLATFORM=xcb BRUMO_SHOTS_FROM_SCREEN=1 "$@"
    else
        QT_QPA_PLATFORM=offscreen "$@"
    fi
}
for shot in "${shots[@]}"; do
    read -r scene picture <<<"$shot"
    if [ ${#only[@]} -gt 0 ] && [[ ! " ${only[*]} " == *" $scene "* ]]; then
        continue
    fi
    draw "$build/tests/ui_screenshots" "$scene" "$picture"
    echo "wrote $picture"
    large="docs/200/${picture#docs/}"
    QT_SCALE_FACTOR=2 draw "$build/tests/ui_screenshots" "$scene" "$large"
    echo "wrote $large"
done
