#!/usr/bin/env bash
# Runs one Windows program under wine without ever hanging the caller: stdin from /dev/null,
# output through a file (wine's helper processes would otherwise keep a pipe open), a hard
# time limit, and the prefix's wineserver ended afterwards.
# Usage: wine-run.sh program.exe [args...]; WINEPREFIX must be set. TWK_TIMEOUT overrides 600 s.
# With TWK_WINE_LOG the output goes to that file as it comes, and the caller keeps it.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the prefix to run in}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
log=${TWK_WINE_LOG:-$(mktemp "${TMPDIR:-/tmp}/twk-wine.XXXXXX")}
for attempt in 1 2; do
    # A wineserver that is still shutting down (after an earlier run's -k) can make wine exit at
    # once without a word; wait for it, and run again once if that happened anyway.
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1
    timeout --kill-after=10 "${TWK_TIMEOUT:-600}" wine "$@" </dev/null >"$log" 2>&1
    rc=$?
    [ $rc -ne 0 ] && [ ! -s "$log" ] && [ $attempt -eq 1 ] && continue
    break
done
cat "$log"
[ -n "${TWK_WINE_LOG:-}" ] || rm -f "$log"
timeout 30 wineserver -k </dev/null >/dev/null 2>&1
timeout 30 wineserver -w </dev/null >/dev/null 2>&1
[ $rc -eq 124 ] && echo "wine-run: $1 timed out after ${TWK_TIMEOUT:-600} s"
exit $rc
