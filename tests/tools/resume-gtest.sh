#!/usr/bin/env bash
# Runs a googletest program under wine as scripts/wine-run.sh does, for the 32-bit programs
# under emulation: now and then one of their tests stops making progress (the process idles;
# the same test passes when run again). A test that shows no result for TWK_STALL seconds
# (default 120) ends the run; the program then starts again with the tests not yet run. A test
# that stalls twice is a failure, and so is any failed test or a program that ends otherwise.
# Usage: resume-gtest.sh program.exe --gtest_filter=FILTER; WINEPREFIX must be set.
set -u
: "${WINEPREFIX:?WINEPREFIX must name the prefix to run in}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
program=$1
filter=${2#--gtest_filter=}
stall=${TWK_STALL:-120}
log=$(mktemp "${TMPDIR:-/tmp}/twk-gtest.XXXXXX")
trap 'rm -f "$log"' EXIT

done_tests=()  # each test with a result, left out of the next start
stalled=" "   # the tests that stalled once, each followed by a space
status=0
while :; do
    skip=$(IFS=:; echo "${done_tests[*]}")
    # What is done joins the filter's negative part: "A:B" gives "A:B-done", "A-x" "A-x:done".
    run_filter=$filter
    if [ -n "$skip" ]; then
        case $filter in *-*) run_filter="$filter:$skip" ;; *) run_filter="$filter-$skip" ;; esac
    fi
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1
    setsid timeout --kill-after=10 "${TWK_TIMEOUT:-600}" wine "$program" "--gtest_filter=$run_filter" \
        </dev/null >"$log" 2>&1 &
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
            kill -- -$runner 2>/dev/null
            break
        fi
    done
    wait $runner
    rc=$?
    cat "$log"
    timeout 30 wineserver -k </dev/null >/dev/null 2>&1
    timeout 30 wineserver -w </dev/null >/dev/null 2>&1
    if [ -z "$hung" ]; then
        [ $rc -eq 124 ] && echo "resume-gtest: $program timed out after ${TWK_TIMEOUT:-600} s"
        [ $rc -ne 0 ] && status=$rc
        break
    fi
    echo "resume-gtest: $hung made no progress for $stall s"
    grep -aq '^\[  FAILED  \]' "$log" && { status=1; break; }
    case $stalled in *" $hung "*) echo "resume-gtest: $hung stalled twice"; status=1; break ;; esac
    stalled+="$hung "
    while read -r finished; do done_tests+=("$finished"); done \
        < <(grep -a '^\[ \+OK \+\] ' "$log" | sed 's/^\[ *OK *\] \([^ ]*\).*/\1/')
    echo "resume-gtest: starting again without the ${#done_tests[@]} tests that passed"
done
exit $status
