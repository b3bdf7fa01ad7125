#!/usr/bin/env bash
# Runs the benchmark program (twk_bench.exe) in its own headless Wine prefix, BUILD/wine-bench,
# and prints its table. Usage: scripts/run-bench.sh BUILD (a configured and built x86_64 folder).
set -eu
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
prefix="$build/wine-bench"
"$here/wine-prefix.sh" test "$prefix"
# Every registry call is a round trip to wineserver. On one CPU, program and server hand over
# without waking another CPU; unpinned, the times vary several-fold with the machine's load.
cpu=$(( $(nproc) - 1 ))
echo "Running $build/twk_bench.exe pinned to CPU $cpu (load average: $(cut -d' ' -f1-3 /proc/loadavg))"
WINEPREFIX="$prefix" TWK_TIMEOUT="${TWK_TIMEOUT:-1800}" taskset -c "$cpu" "$here/wine-run.sh" "$build/twk_bench.exe"
