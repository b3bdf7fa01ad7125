#!/usr/bin/env bash
# Starts the 64-bit Tarnwick against an existing Wine prefix, as that prefix's own program would
# run: the prefix's configuration (graphics driver, debugger, drives, Wine version settings) is
# never changed, and its wineserver is never stopped, so other programs running there go on.
#   open-prefix.sh --check PREFIX   only check that PREFIX is a Wine prefix that can run it
#   open-prefix.sh PREFIX BUILD     check, then run BUILD/Twk.exe there (BUILD: the x86_64 build)
set -eu
if [ "$1" = --check ]; then check_only=yes; shift; else check_only=no; fi
prefix=${1%/}

fail() { echo "twk open: $*" >&2; exit 1; }
[ -d "$prefix" ] || fail "$prefix is not a folder"
[ -f "$prefix/system.reg" ] && [ -d "$prefix/drive_c" ] ||
    fail "$prefix is not a Wine prefix (it has no system.reg and drive_c)"
# Wine writes the prefix's architecture into the first lines of system.reg.
if head -n 5 "$prefix/system.reg" | grep -q '^#arch=win32'; then
    fail "$prefix is a 32-bit prefix; the 64-bit program cannot run there (use the 32-bit Twk.exe with a 32-bit Wine)"
fi
[ "$check_only" = yes ] && exit 0

build=$(cd "$2" && pwd)
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: Tarnwick needs a desktop to show its window"
prefix=$(cd "$prefix" && pwd)
log="$build/open.log"
echo "Tarnwick is running in $prefix (wine output: $log)"
cd "$build"
WINEPREFIX="$prefix" wine "$build/Twk.exe" </dev/null >"$log" 2>&1
