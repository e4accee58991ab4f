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

display=""
for n in $(seq 120 199); do
    if [ ! -e "/tmp/.X11-unix/X$n" ] && [ ! -e "/tmp/.X$n-lock" ]; then
        display=":$n"
        break
    fi
done
[ -n "$display" ] || { echo "skipped: no free display"; exit 77; }

Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
wm=""
stop() {
    [ -n "$wm" ] && kill "$wm" 2>/dev/null
    kill "$xvfb" 2>/dev/null
    wait 2>/dev/null
}
trap stop EXIT INT TERM
for _ in $(seq 100); do
    [ -e "/tmp/.X11-unix/X${display#:}" ] && break
    sleep 0.1
done
DISPLAY=$display openbox >/dev/null 2>&1 &
wm=$!
for _ in $(seq 100); do
    DISPLAY=$display xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q "window id" && break
    sleep 0.1
done
DISPLAY=$display QT_QPA_PLATFORM=xcb "$@"
rc=$?
exit $rc
