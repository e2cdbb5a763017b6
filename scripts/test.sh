#!/usr/bin/env bash
# Sets up what is missing, builds every configuration and runs all tests (the
# README lists the suites), then lint and the reproducibility check. Exits
# non-zero on any failure and leaves no Wine process behind. The Windows
# tests run on the 64-bit build under 64-bit Wine, and on the shipped 32-bit
# build too where the host runs 32-bit code (OBRELLO_32BIT=0: not even then);
# elsewhere the 32-bit build gets the checks made on its files alone.
#   test.sh [SUITE...]   only the suites named
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

scripts/setup.sh || exit $?
source scripts/wine-host.sh

stop_wine() {
    scripts/wine-prefix.sh stop win32 "$root/build/windows/wineprefix"
    scripts/wine-prefix.sh stop win64 "$root/build/windows64/wineprefix"
}
trap stop_wine EXIT

passed=0 failed=0 skipped=0 status=0 summary=() chosen=("$@")
suites=(native sanitize windows windows64 fuzz lint reproducible)
for suite in "$@"; do
    [[ " ${suites[*]} " == *" $suite "* ]] || { echo "test.sh: no suite $suite, only ${suites[*]}" && exit 2; }
done
chosen() { [ ${#chosen[@]} -eq 0 ] || [[ " ${chosen[*]} " == *" $1 "* ]]; }

# Builds a preset, its output kept in build/PRESET/build.log, and runs its tests,
# counted from CTest's JUnit report: one not run, unless skipped or disabled, failed.
run_configuration() {
    local preset=$1 dir=$root/build/$1 ran lost skips
    shift
    chosen "$preset" || return 0
    echo "=== $preset: configure and build"
    mkdir -p "$dir"
    if ! { cmake --preset "$preset" "$@" && cmake --build --preset "$preset" -- --no-print-directory; } \
        >"$dir/build.log" 2>&1; then
        echo "=== $preset: BUILD FAILED, the end of build/$preset/build.log:"
        tail -n 40 "$dir/build.log"
        summary+=("$preset: build failed") status=1 failed=$((failed + 1))
        return
    fi
    grep -i warning "$dir/build.log"
    echo "=== $preset: tests"
    rm -f "$dir/junit.xml"
    ctest --preset "$preset" --output-junit "$dir/junit.xml" || status=1
    read -r ran lost skips < <(awk '/^[ \t]*<testcase /{ n++; r += /status="run"/; s += /status="disabled"/ }
        /^[ \t]*<skipped message="SKIP_/{ s++ } END { print r + 0, n - r - s, s + 0 }' "$dir/junit.xml")
    ((ran + lost)) || { summary+=("$preset: no test ran") status=1 failed=$((failed + 1)); return; }
    passed=$((passed + ran)) failed=$((failed + lost)) skipped=$((skipped + skips))
    summary+=("$preset: $ran of $((ran + lost)) passed$( ((skips == 0)) || echo ", $skips skipped")")
}

# A check passes by exiting 0. The one skip is the reproducibility check's
# refusal of uncommitted changes: its exit status 3 with that last line.
run_check() {
    local name=$1 code last
    shift
    chosen "$name" || return 0
    echo "=== $name"
    mkdir -p "$root/build"
    "$@" | tee "$root/build/$name.log"
    code=${PIPESTATUS[0]} last=$(tail -n 1 "$root/build/$name.log")
    case $code/$last in
    0/*) passed=$((passed + 1)) summary+=("$name: passed") ;;
    "3/reproducible: skipped (uncommitted changes"*) skipped=$((skipped + 1)) summary+=("$last") ;;
    *) echo "=== $name: FAILED" && failed=$((failed + 1)) summary+=("$name: FAILED") status=1 ;;
    esac
}

# Without a working 64-bit loader no Windows test could run: a pass would
# prove nothing. The subshell keeps the loader's environment out of the rest.
if ! wine64_says=$(wine_environment win64 "$root/build/windows64/wineprefix" &&
    "$WINELOADER" --version 2>&1); then
    echo "test.sh: no Wine loader works on this host, so no Windows test can run:"
    echo "  ${wine64_says:-the 64-bit loader is missing}"
    exit 1
fi

wine32=ON windows="i686, 32-bit Wine"
wine32_runs || wine32=OFF windows="i686, files only: $(no_32bit_reason)"
echo "=== suites: native, sanitize, windows ($windows), windows64 (x86_64, 64-bit Wine), fuzz, lint, reproducible"

run_configuration native
run_configuration sanitize
run_configuration windows -DOBRELLO_WINE=$wine32
run_configuration windows64 -DOBRELLO_WINE=ON
run_configuration fuzz
run_check lint scripts/lint.sh
run_check reproducible scripts/check-reproducible.sh

echo
printf '  %s\n' "${summary[@]}"
[ $wine32 = ON ] || echo "  windows: $windows, so the 64-bit build of the same sources ran every Windows test"
echo "total: $passed passed, $failed failed, $skipped skipped"
exit $status
