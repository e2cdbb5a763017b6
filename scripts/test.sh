#!/usr/bin/env bash
# Sets up what is missing, builds every configuration and runs all tests:
# the portable code natively (with the browser check) and under ASan/UBSan,
# the Windows build (composer, resources, settings, languages, the real
# program and its package) under Wine, a bounded fuzzing run, static analysis
# and a reproducibility check. Exits non-zero on any failure and leaves no
# Wine process behind.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh || exit 1

wine_prefix="$root/build/windows/wineprefix"
stop_wine() { [ -d "$wine_prefix" ] && scripts/wine-prefix.sh stop "$wine_prefix"; true; }
trap stop_wine EXIT

passed=0
failed=0
status=0
run_configuration() {
    local preset=$1 log
    echo "=== $preset: configure and build"
    if ! { cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -- --no-print-directory >/dev/null; }; then
        echo "=== $preset: BUILD FAILED"
        cmake --build --preset "$preset" 2>&1 | tail -n 40
        status=1
        return
    fi
    echo "=== $preset: tests"
    log=$(mktemp)
    ctest --preset "$preset" 2>&1 | tee "$log"
    [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
    local line
    line=$(grep -E 'tests passed, [0-9]+ tests failed out of' "$log" | tail -n 1)
    if [[ $line =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]; then
        failed=$((failed + BASH_REMATCH[1]))
        passed=$((passed + BASH_REMATCH[2] - BASH_REMATCH[1]))
    else
        status=1
    fi
    rm -f "$log"
}

run_check() {
    local name=$1
    shift
    echo "=== $name"
    if "$@"; then
        passed=$((passed + 1))
    else
        echo "=== $name: FAILED"
        failed=$((failed + 1))
        status=1
    fi
}

for preset in native sanitize windows fuzz; do
    run_configuration "$preset"
done
run_check lint scripts/lint.sh
run_check reproducible scripts/check-reproducible.sh

echo
echo "total: $passed passed, $failed failed"
exit $status
