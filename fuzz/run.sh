#!/usr/bin/env bash
# Runs a libFuzzer program with the given arguments, keeps its full log beside
# the build's corpus and prints only the figures of the run: the start, the
# final coverage and the closing statistics. On a crash or a broken invariant
# the end of the log, with the report and the saved input, is printed too.
#   run.sh LOG FUZZER [ARGS...]
set -uo pipefail
log=$1
shift
"$@" >"$log" 2>&1
status=$?
grep -E 'seed corpus:|INITED|DONE|^stat::' "$log"
if [ $status -ne 0 ]; then
    echo "fuzzer failed with exit code $status; full log: $log"
    tail -n 60 "$log"
fi
exit $status
