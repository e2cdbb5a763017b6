#!/usr/bin/env bash
# scripts/setup.sh in a copy of its folder, as a non-root user whose sudo runs
# only the stand-in apt-get: nothing on this machine is installed or changed.
src=$(dirname "$0")/../.. t=$(cd "$(mktemp -d)" && pwd -P) && trap 'rm -rf "$t"' EXIT
mkdir -p "$t/scripts" "$t/bin" "$t/res/lngs" && cp "$src"/scripts/{setup,wine-host}.sh "$t/scripts/"
cp "$src/res/lngs/code-pages.txt" "$t/res/lngs/"
stub() { printf '#!/bin/sh\n%s\n' "$2" >"$t/bin/$1" && chmod +x "$t/bin/$1"; }
stub id 'echo 1000'
stub sudo '[ "$1 $3" = "env apt-get" ] && exec "$@"; echo "refused: sudo $*"; exit 1'
stub dpkg-query '[ "$CASE" = none ] && printf "install ok installed"'
# Every locale set-up names, as `locale -a` spells it, then more than a pipe holds.
grep -shoE '[a-z]{2}_[A-Z]{2}\.UTF-8' "$t"/scripts/setup.sh "$t"/res/lngs/* | sed 's/UTF-8/utf8/' >"$t/locales"
stub locale "cat $t/locales; seq -f x%g 20000"
stub apt-get 'echo "apt-get $*"; case "$1/$CASE" in install/install) echo "E: Unable to locate package cppcheck"; exit 100 ;;
update/update) echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"; exit 100 ;; esac'
failed=0
run() { # the case, setup.sh's exit status, lines its output must hold
    out=$(CASE=$1 OBRELLO_32BIT=0 PATH="$t/bin:$PATH" bash "$t/scripts/setup.sh" 2>&1) && status=0 || status=$?
    printf -- '--- %s: exit %s\n%s\n' "$1" "$status" "$out"
    [ "$status" = "$2" ] || { echo "FAILED: exit $status, not $2"; failed=1; }
    for line in "${@:3}"; do grep -qF -- "$line" <<<"$out" || { echo "FAILED: no line with: $line"; failed=1; }; done
}
run none 0 && [ -z "$out" ] && [ ! -e "$t/build" ] || { echo "FAILED: output or a log with all installed"; failed=1; }
run install 1 "Set-up failed while installing packages." "  E: Unable to locate package cppcheck" "Full log: $t/build/setup.log"
run update 0 "  E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz" \
    "going on with the lists apt has" "Set-up done in"
grep -q "^E: Unable to locate package" "$t/build/setup.log" || { echo "FAILED: apt's output is not in the log"; failed=1; }
exit $failed
