#!/usr/bin/env bash
# Creates (once, with the null graphics driver: no X server needed), starts
# (its server and services run until "stop") or stops the Wine prefix that
# the Windows tests run in.
#   wine-prefix.sh create|start|stop win32|win64 PREFIX
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-host.sh"
# Wine takes only an absolute prefix.
action=$1 arch=$2 prefix=$(realpath -m "$3")
wine_environment "$arch" "$prefix"

# Runs one set-up step; if it fails, shows what the loader itself said.
set_up_step() {
    local log=$WINEPREFIX.log
    if ! "$@" >"$log" 2>&1; then
        echo "wine-prefix.sh: setting up $WINEPREFIX failed in: $*" >&2
        cat "$log" >&2
        exit 1
    fi
}

case "$action" in
create)
    if [ ! -x "$WINELOADER" ]; then
        echo "wine-prefix.sh: no $arch Wine loader at $WINELOADER; scripts/setup.sh installs it" >&2
        exit 1
    fi
    mkdir -p "$(dirname "$WINEPREFIX")"
    exec 9>"$WINEPREFIX.lock"
    flock 9
    if [ ! -f "$WINEPREFIX/.obrello-ready" ]; then
        rm -rf "$WINEPREFIX"
        set_up_step "$WINELOADER" wineboot -i
        set_up_step "$WINELOADER" reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f
        "$WINESERVER" -w
        touch "$WINEPREFIX/.obrello-ready"
    fi
    ;;
start)
    # Started with no output attached: started by a test's program, the server
    # and services would hold its output open, and CTest would wait for them.
    # A server that already runs makes the first command fail, harmlessly.
    "$0" create "$arch" "$WINEPREFIX"
    "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    "$WINELOADER" wineboot </dev/null >/dev/null 2>&1
    ;;
stop)
    if [ -d "$WINEPREFIX" ] && [ -x "$WINESERVER" ]; then
        "$WINESERVER" -k 2>/dev/null || true
    fi
    ;;
*)
    echo "usage: $0 create|start|stop win32|win64 PREFIX" >&2
    exit 2
    ;;
esac
