#!/usr/bin/env bash
# Creates, starts or stops the Wine prefix that the Windows tests run in.
#   wine-prefix.sh create PREFIX   make a 32-bit prefix with the null graphics
#                                  driver (no X server needed); idempotent
#   wine-prefix.sh start PREFIX    create it, and keep its server and system
#                                  services running until "stop"
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
start)
    # Started here with no output attached. The server and the services keep
    # the standard error they were started with: started by a test's program,
    # they would hold that test's output open, and CTest would count the test
    # as running (and time it out) until the server ended.
    # A server that already runs makes the first command fail, harmlessly.
    "$0" create "$WINEPREFIX"
    wineserver -p </dev/null >/dev/null 2>&1 || true
    wineboot </dev/null >/dev/null 2>&1
    ;;
stop)
    if [ -d "$WINEPREFIX" ]; then
        wineserver -k 2>/dev/null || true
    fi
    ;;
*)
    echo "usage: $0 create|start|stop PREFIX" >&2
    exit 2
    ;;
esac
