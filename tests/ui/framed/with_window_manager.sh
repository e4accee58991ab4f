#!/bin/sh
# Runs a window test on a screen of its own with a window manager, so that its windows get
# frames and title bars as on a desktop: with_window_manager.sh TEST [ARGS...]
# Exits 77 (skipped) where no X server or window manager is installed.
for tool in Xvfb openbox xprop; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed (scripts/setup.sh installs it)"
        exit 77
    fi
done

# The server picks a free display itself and writes its number, so that tests started at
# once (by ctest -j, or by several builds on one machine) never share a screen.
number=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$number" >/dev/null 2>&1 &
xvfb=$!
wm=""
stop() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
    rm -f "$number"
}
trap stop EXIT INT TERM
for _ in $(seq 100); do
    grep -q '^[0-9]' "$number" && break
    sleep 0.1
done
display=":$(head -n 1 "$number")"
[ "$display" != ":" ] || { echo "skipped: the X server did not start"; exit 77; }
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
    DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
rc=$?
exit $rc
