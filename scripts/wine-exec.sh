#!/usr/bin/env bash
# Runs one Windows program under Wine in the given prefix (the CTest emulator).
#   wine-exec.sh win32|win64 PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-host.sh"
arch=$1 prefix=$2
shift 2
"$here/wine-prefix.sh" create "$arch" "$prefix"
wine_environment "$arch" "$prefix"
# GoogleTest's own variables could make a run print less, or run nothing.
unset "${!GTEST_@}"
exec "$WINELOADER" "$@"
