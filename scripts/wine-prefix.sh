#!/usr/bin/env bash
# Creates or stops the Wine prefix that the Windows tests run in.
#   wine-prefix.sh create PREFIX   make a 32-bit prefix with the null graphics
#                                  driver (no X server needed); idempotent
#   wine-prefix.sh stop PREFIX     end every Wine process of that prefix
set -euo pipefail
action=$1
export WINEPREFIX=$2
export WINEDEBUG=-all
export WINEARCH=win32
# No Mono or Gecko: they are never needed and would ask to be downloaded.
export WINEDLLOVERRIDES="mscoree,mshtml="

case "$action" in
create)
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.obrello-ready" ]; then
        rm -rf "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1
        wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
        wineserver -w
        touch "$WINEPREFIX/.obrello-ready"
    fi
    ;;
stop)
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    ;;
*)
    echo "usage: $0 create|stop PREFIX" >&2
    exit 2
    ;;
esac
