#!/usr/bin/env bash
# Starts Tarnwick in the demo Wine prefix (build/x86_64/wine-demo), seeded with sample entries.
# With a DISPLAY the window opens there. Without one the program runs under Xvfb, a screenshot
# of the main window is saved as a PNG whose path is printed, and the program is closed.
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
prefix="$build/wine-demo"
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
cd "$build"

if [ ! -f "$prefix/.twk-demo-seeded" ]; then
    "$here/wine-prefix.sh" demo "$prefix"
    "$here/seed-demo.sh" "$prefix"
    touch "$prefix/.twk-demo-seeded"
fi
log="$build/demo.log"

if [ -n "${DISPLAY:-}" ]; then
    echo "Tarnwick is running in the demo prefix $prefix (wine output: $log)"
    wine "$build/Twk.exe" </dev/null >"$log" 2>&1 || true
    timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    exit 0
fi

display=""
for n in $(seq 90 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || { display=":$n"; break; }
done
[ -n "$display" ] || { echo "no free X display number for Xvfb"; exit 1; }
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp </dev/null >"$build/xvfb.log" 2>&1 &
xvfb=$!
cleanup() {
    timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
    kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY="$display"
sleep 1

timeout 120 wine "$build/Twk.exe" </dev/null >"$log" 2>&1 &
window=""
for _ in $(seq 1 60); do
    sleep 0.5
    window=$(xwininfo -root -tree 2>/dev/null | awk '/"Tarnwick"/ {print $1; exit}')
    [ -n "$window" ] && break
done
[ -n "$window" ] || { echo "the Tarnwick window did not appear (see $log)"; exit 1; }
sleep 3  # let the first activation fill the lists and everything paint
shot="$build/tarnwick-screenshot.png"
import -window "$window" -frame "$shot" 2>>"$build/xvfb.log" || import -window root "$shot"
echo "Screenshot of the main window: $shot"
