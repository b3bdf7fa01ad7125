#!/usr/bin/env bash
# Runs a googletest program through scripts/wine-run.sh, for the 32-bit programs under
# emulation: now and then one of their tests stops making progress (the process idles; the same
# test passes when run again). A test that shows no result for TWK_STALL seconds (default 120)
# ends the run; the program then starts again with the tests not yet passed. A test that stalls
# twice is a failure, and so is any failed test or a program that ends otherwise.
# Usage: resume-gtest.sh program.exe --gtest_filter=FILTER; WINEPREFIX must be set.
set -u
here=$(cd "$(dirname "$0")/../.." && pwd)
program=$1
filter=${2#--gtest_filter=}
stall=${TWK_STALL:-120}
export TWK_WINE_LOG
TWK_WINE_LOG=$(mktemp "${TMPDIR:-/tmp}/twk-gtest.XXXXXX")
log=$TWK_WINE_LOG
trap 'rm -f "$log"' EXIT

done_tests=()  # each test that passed, left out of the next start
stalled=" "   # the tests that stalled once, each followed by a space
while :; do
    # What passed joins the filter's negative part: "A:B" gives "A:B-done", "A-x" "A-x:done".
    skip=$(IFS=:; echo "${done_tests[*]}")
    run_filter=$filter
    if [ -n "$skip" ]; then
        case $filter in *-*) run_filter="$filter:$skip" ;; *) run_filter="$filter-$skip" ;; esac
    fi
    "$here/scripts/wine-run.sh" "$program" "--gtest_filter=$run_filter" &
    runner=$!
    last_change=$SECONDS last_size=0 hung=""
    while kill -0 $runner 2>/dev/null; do
        sleep 5
        size=$(stat -c %s "$log")
        [ "$size" != "$last_size" ] && { last_size=$size; last_change=$SECONDS; }
        current=$(grep -a '^\[ RUN      \]' "$log" | tail -1 | cut -c14-)
        if [ -n "$current" ] && ! grep -aq "^\[ \+\(OK\|FAILED\) \+\] $current " "$log" &&
           [ $((SECONDS - last_change)) -ge "$stall" ]; then
            hung=$current
            timeout 30 wineserver -k </dev/null >/dev/null 2>&1  # wine-run.sh then ends as usual
            break
        fi
    done
    wait $runner
    rc=$?
    [ -z "$hung" ] && exit $rc
    echo "resume-gtest: $hung made no progress for $stall s"
    grep -aq '^\[  FAILED  \]' "$log" && exit 1
    case $stalled in *" $hung "*) echo "resume-gtest: $hung stalled twice"; exit 1 ;; esac
    stalled+="$hung "
    while read -r passed; do done_tests+=("$passed"); done \
        < <(grep -a '^\[ \+OK \+\] ' "$log" | sed 's/^\[ *OK *\] \([^ ]*\).*/\1/')
    echo "resume-gtest: starting again without the ${#done_tests[@]} tests that passed"
done
