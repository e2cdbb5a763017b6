#!/usr/bin/env bash
# Sets up what is missing, builds every configuration and runs all tests (the
# README lists the suites), then lint and the reproducibility check. Exits
# non-zero on any failure and leaves no Wine process behind. The Windows
# tests run on the 64-bit build under 64-bit Wine, and on the shipped 32-bit
# build too where the host runs 32-bit code (OBRELLO_32BIT=0: not even then);
# elsewhere the 32-bit build gets the checks made on its files alone.
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

passed=0 failed=0 status=0 summary=()

# Builds a preset, its output kept in build/PRESET/build.log, and runs its tests,
# counted from CTest's JUnit report: one not run, unless skipped or disabled, failed.
run_configuration() {
    local preset=$1 dir=$root/build/$1 ran lost skipped
    shift
    echo "=== $preset: configure and build"
    mkdir -p "$dir"
    if ! { cmake --preset "$preset" "$@" && cmake --build --preset "$preset" -- --no-print-directory; } \
        >"$dir/build.log" 2>&1; then
        echo "=== $preset: BUILD FAILED, the end of build/$preset/build.log:"
        tail -n 40 "$dir/build.log"
        summary+=("$preset: build failed") status=1
        return
    fi
    grep -i warning "$dir/build.log"
    echo "=== $preset: tests"
    rm -f "$dir/junit.xml"
    ctest --preset "$preset" --output-junit "$dir/junit.xml" || status=1
    read -r ran lost skipped < <(awk '/^[ \t]*<testcase /{ n++; r += /status="run"/; s += /status="disabled"/ }
        /^[ \t]*<skipped message="SKIP_/{ s++ } END { print r + 0, n - r - s, s + 0 }' "$dir/junit.xml")
    ((ran + lost)) || { summary+=("$preset: no test ran") status=1; return; }
    passed=$((passed + ran)) failed=$((failed + lost))
    summary+=("$preset: $ran of $((ran + lost)) passed$( ((skipped == 0)) || echo ", $skipped skipped")")
}

# A check that exits 3 was skipped: its last line says why, and it counts as
# neither passed nor failed (the reproducibility check, on uncommitted changes).
run_check() {
    local name=$1
    shift
    echo "=== $name"
    "$@" | tee "$root/build/$name.log"
    case ${PIPESTATUS[0]} in
    0) passed=$((passed + 1)) summary+=("$name: passed") ;;
    3) summary+=("$(tail -n 1 "$root/build/$name.log")") ;;
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
wine32_runs || wine32=OFF windows="i686, files only"
echo "=== suites: native, sanitize, windows ($windows), windows64 (x86_64, 64-bit Wine), fuzz, lint, reproducible"
[ $wine32 = ON ] ||
    echo "=== $(no_32bit_reason): the 32-bit build's own Wine tests cannot run, so its files are checked and the 64-bit build of the same sources runs every Windows test"

run_configuration native
run_configuration sanitize
run_configuration windows -DOBRELLO_WINE=$wine32
run_configuration windows64 -DOBRELLO_WINE=ON
run_configuration fuzz
run_check lint scripts/lint.sh
run_check reproducible scripts/check-reproducible.sh

echo
printf '  %s\n' "${summary[@]}"
echo "total: $passed passed, $failed failed"
exit $status
