#!/usr/bin/env bash
# scripts/setup.sh in a copy of its folder, as a non-root user whose sudo runs
# only the stand-in apt-get, then test.sh's count: nothing here is changed.
src=$(dirname "$0")/../.. t=$(cd "$(mktemp -d)" && pwd -P) && trap 'rm -rf "$t"' EXIT
mkdir -p "$t/scripts" "$t/bin" "$t/res/lngs" && cp "$src"/scripts/{setup,wine-host}.sh "$t/scripts/"
cp "$src/res/lngs/code-pages.txt" "$t/res/lngs/"
stub() { printf '#!/bin/sh\n%s\n' "$2" >"$t/$1" && chmod +x "$t/$1"; }
stub bin/id 'echo 1000'
stub bin/sudo '[ "$1 $3" = "env apt-get" ] && exec "$@"; echo "refused: sudo $*"; exit 1'
stub bin/dpkg-query '[ "$CASE" = none ] && printf "install ok installed"'
stub bin/dpkg 'echo i386' # the foreign architecture 32-bit Wine needs
# Every locale set-up names, as `locale -a` spells it, then more than a pipe holds.
grep -shoE '[a-z]{2}_[A-Z]{2}\.UTF-8' "$t"/scripts/setup.sh "$t"/res/lngs/* | sed 's/UTF-8/utf8/' >"$t/locales"
stub bin/locale "cat $t/locales; seq -f x%g 20000"
stub bin/apt-get 'echo "apt-get $*"; case "$1/$CASE" in install/install) echo "E: Unable to locate package cppcheck"; exit 100 ;;
install/wine32) case "$*" in *wine32:i386*) echo "E: Package wine32:i386 has no installation candidate"; exit 100 ;; esac ;;
update/update) echo "E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"; exit 100 ;; esac'
failed=0
run() { # the case, setup.sh's exit status, lines its output must hold
    out=$(CASE=$1 OBRELLO_32BIT=${BITS:-0} PATH="$t/bin:$PATH" bash ${SCRIPT:-"$t/scripts/setup.sh"} 2>&1) && status=0 || status=$?
    printf -- '--- %s: exit %s\n%s\n' "$1" "$status" "$out"
    [ "$status" = "$2" ] || { echo "FAILED: exit $status, not $2"; failed=1; }
    for line in "${@:3}"; do grep -qF -- "$line" <<<"$out" || { echo "FAILED: no line with: $line"; failed=1; }; done
}
run none 0 && [ -z "$out" ] && [ ! -e "$t/build" ] || { echo "FAILED: output or a log with all installed"; failed=1; }
run install 1 "Set-up failed while installing packages." "  E: Unable to locate package cppcheck" "Full log: $t/build/setup.log"
run update 0 "  E: Failed to fetch http://deb.example/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz" \
    "going on with the lists apt has" "Set-up done in"
grep -q "^E: Unable to locate package" "$t/build/setup.log" || { echo "FAILED: apt's output is not in the log"; failed=1; }
# A host that runs 32-bit code, whose mirror lacks 32-bit Wine: the rest is installed.
BITS=1 run wine32 0 "32-bit Wine could not be installed" "  E: Package wine32:i386 has no installation candidate" "Set-up done in"
grep "^apt-get install" "$t/build/setup.log" | tail -n 1 | grep -v wine32 | grep -q wine64 || { echo "FAILED: the rest is not installed"; failed=1; }
# test.sh's count, in a copy whose set-up, Wine, cmake and ctest are stand-ins:
# one suite passes its test and one fails it, on a host without 32-bit Wine.
mkdir -p "$t/suites/scripts" && cp "$src/scripts/test.sh" "$t/suites/scripts/"
for script in setup wine-prefix; do stub "suites/scripts/$script.sh" 'exit 0'; done
stub suites/scripts/wine-host.sh 'wine_environment() { WINELOADER=true; }; wine32_runs() { false; }
no_32bit_reason() { echo "32-bit Wine is not installed"; }'
stub bin/cmake 'exit 0'
stub bin/ctest '[ "$2" = native ] && s=run || s=fail; echo "<testcase status=\"$s\">" >"$4"; [ $s = run ]'
SCRIPT="$t/suites/scripts/test.sh native sanitize" run test.sh 1 "total: 1 passed, 1 failed, 0 skipped" \
    "  windows: i686, files only: 32-bit Wine is not installed, so the 64-bit build"
exit $failed
