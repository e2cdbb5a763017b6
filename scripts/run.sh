#!/usr/bin/env bash
# Sets up what is missing, builds Obrello.exe and starts it: directly on
# Windows, under Wine elsewhere. With no display to show it on, it is started
# on a virtual one instead and a screenshot is saved.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/setup.sh --run
cmake --preset windows >/dev/null
cmake --build --preset windows --target Obrello -- --no-print-directory >/dev/null
exe=build/windows/Obrello.exe
echo "Built $exe ($(stat -c %s "$exe") bytes)"

case "$(uname -s)" in
MINGW* | MSYS* | CYGWIN*) exec "$exe" ;;
esac

if [ -z "${DISPLAY:-}" ]; then
    echo "No display: starting Obrello on a virtual screen instead."
    exec scripts/screenshot.sh build/windows/screenshot.png
fi

# A prefix of the project's own, so the user's Wine set-up stays untouched.
export WINEPREFIX=$PWD/build/wine-run WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$exe"
