#!/usr/bin/env bash
# Draws the windows on temporary folder trees into docs/: scripts/screenshots.sh [BUILD_DIR]
# Each line of `shots` is a scene of tests/ui/screenshots/screenshots.cpp and its picture.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

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
    "about docs/about.png"
    "dialogs docs/dialogs.png"
)

[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target ui_screenshots -j2
mkdir -p docs

draw() {
    if command -v xvfb-run >/dev/null; then
        xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$@"
    else
        QT_QPA_PLATFORM=offscreen "$@"
    fi
}
for shot in "${shots[@]}"; do
    read -r scene picture <<<"$shot"
    draw "$build/tests/ui_screenshots" "$scene" "$picture"
    echo "wrote $picture"
done
