#!/usr/bin/env bash
# Sets up what is missing, builds Obrello.exe and starts it: directly on
# Windows, under Wine elsewhere, on a virtual screen with a screenshot saved
# where there is no display. A host that runs no 32-bit programs (or
# OBRELLO_32BIT=0) starts the 64-bit build of the same sources.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/wine-host.sh

scripts/setup.sh --run
build_program() {
    cmake --preset "$1" >/dev/null
    cmake --build --preset "$1" --target Obrello -- --no-print-directory >/dev/null
}
build_program windows
build=windows

case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*) exec build/windows/Obrello.exe ;;
esac

if ! wine32_runs; then
    reason=$(no_32bit_reason)
    echo "${reason^}, so the 64-bit build of the same sources is started; the program for Windows is still the 32-bit build/windows/Obrello.exe."
    build_program windows64
    build=windows64
fi
exe=build/$build/Obrello.exe
echo "Built $exe ($(stat -c %s "$exe") bytes)"

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: starting Obrello on a virtual screen instead."
    exec scripts/screenshot.sh "build/$build/screenshot.png" "" "$build"
fi

# A prefix of the project's own, so the user's Wine set-up stays untouched.
wine_environment "$(wine_arch_of_build "$build")" "$PWD/build/wine-run-$build"
exec "$WINELOADER" "$exe"
