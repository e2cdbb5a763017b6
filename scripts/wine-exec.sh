#!/usr/bin/env bash
# Runs one Windows program under Wine in the given prefix (the CTest emulator).
#   wine-exec.sh PREFIX PROGRAM.exe [ARGS...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
prefix=$1
shift
"$here/wine-prefix.sh" create "$prefix"
export WINEPREFIX=$prefix WINEDEBUG=-all WINEARCH=win32 WINEDLLOVERRIDES="mscoree,mshtml="
exec wine "$@"
