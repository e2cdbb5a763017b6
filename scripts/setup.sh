#!/usr/bin/env bash
# Installs whatever the build and the tests need that this Debian machine
# lacks. Installs nothing, prints nothing, and takes well under a second,
# when all is there. The package manager's own output goes to build/setup.log.
#   setup.sh               everything the tests need
#   setup.sh --run         only what building and starting the program needs
#   setup.sh --build       only what building it and its package needs
#   setup.sh --screenshot  what showing it on a virtual screen needs
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-host.sh"

# Both Windows builds, and strip-nondeterminism for the package's entries; to
# run them 64-bit Wine, and 32-bit Wine only where this host can run it.
build_packages=(cmake make g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 strip-nondeterminism)
run_packages=("${build_packages[@]}" wine wine64)
with_i386=false
! host_runs_32bit || { run_packages+=(wine32:i386) && with_i386=true; }
# The benchmark, the fuzzer, lint and the browser check; fonts for each script
# the packs are written in, so the pack checks measure real glyphs, and Wine's
# bitmap "MS Sans Serif" that draws the dialog.
test_packages=("${run_packages[@]}" libbenchmark-dev clang libclang-rt-14-dev clang-tidy cppcheck llvm jq
    python3 chromium locales fonts-liberation fonts-dejavu-core fonts-wqy-microhei fonts-tlwg-loma-otf fonts-wine)
# Wine takes the ANSI code page from the locale: one a row of the packs' table.
mapfile -t locales < <(awk '/^[0-9]/ && $2 != "-" { print $2 }' "$here/../res/lngs/code-pages.txt")
case "${1:-}" in
--run) packages=("${run_packages[@]}") purpose="building and running" locales=() ;;
--build) packages=("${build_packages[@]}") purpose="building" locales=() with_i386=false ;;
--screenshot) packages=(xvfb fonts-wine imagemagick xdotool) purpose="the screenshot" locales=() with_i386=false ;;
*) packages=("${test_packages[@]}") purpose="building and testing" ;;
esac

# Not on Debian (Windows or another system): the user provides the tools.
command -v dpkg-query >/dev/null 2>&1 || exit 0

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
# `locale -a` spells pl_PL.UTF-8 as pl_PL.utf8. Read once: piped into
# `grep -q`, a listing longer than the pipe holds dies when grep stops reading,
# and pipefail would count every locale as missing.
available=$(locale -a 2>/dev/null || true)
generate=()
for l in ${locales[@]+"${locales[@]}"}; do
    grep -qx "${l%.UTF-8}.utf8" <<<"$available" || generate+=("$l")
done
[ ${#missing[@]} -gt 0 ] || [ ${#generate[@]} -gt 0 ] || exit 0

# sudo drops the environment, so the package manager's settings travel in env.
sudo="" as_root=(env DEBIAN_FRONTEND=noninteractive)
if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "Set-up needs to install ${missing[*]:-} ${generate[*]:-}, which takes root, and sudo is missing."
        echo "Run this command as root, or install sudo first."
        exit 1
    fi
    sudo="sudo" as_root=(sudo "${as_root[@]}")
fi
log=$(realpath -m "$here/../build/setup.log")
mkdir -p "$(dirname "$log")"
echo "=== $(date -u '+%F %T') setup.sh ${1:-}" >>"$log"
started=$SECONDS

# Runs one step with its output in the log; remembers where its lines begin.
step() {
    step_start=$(($(wc -l <"$log") + 1))
    "$@" >>"$log" 2>&1 </dev/null
}
# apt's own reasons from the last step: its error and warning lines.
reasons() { tail -n "+$step_start" "$log" | grep -E '^(E|W|Err):' | tail -n 8 | sed 's/^/  /' || true; }
mirror_note() {
    if tail -n "+$step_start" "$log" | grep -qE 'Mirror sync|Failed to fetch|unexpected size|Hash Sum mismatch|Could not resolve|Unable to fetch'; then
        echo "The package mirror is the cause: it is being updated or could not be reached. Trying again later usually helps."
    fi
}
fail() {
    echo "Set-up failed while $1. The package manager said:"
    reasons
    mirror_note
    echo "Full log: $log"
    exit 1
}

if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing ${#missing[@]} packages for $purpose: ${missing[*]}"
    if $with_i386 && ! dpkg --print-foreign-architectures | grep -qx i386; then
        step "${as_root[@]}" dpkg --add-architecture i386 || fail "adding the i386 architecture"
    fi
    # One list that cannot be read fails the whole update, even when the
    # install needs none of it: go on with the lists apt has.
    if ! step "${as_root[@]}" apt-get update; then
        echo "Some package lists could not be updated; going on with the lists apt has:"
        reasons
        mirror_note
    fi
    # A mirror can lack the i386 packages of 32-bit Wine while it has all the
    # rest: the 64-bit build then runs every Windows test.
    if ! step "${as_root[@]}" apt-get install -y "${missing[@]}"; then
        [[ " ${missing[*]} " == *" wine32:i386 "* ]] || fail "installing packages"
        echo "32-bit Wine could not be installed, so the 64-bit build runs the Windows tests:" && reasons
        mapfile -t missing < <(printf '%s\n' "${missing[@]}" | grep -vx 'wine32:i386')
        [ ${#missing[@]} -eq 0 ] || step "${as_root[@]}" apt-get install -y "${missing[@]}" || fail "installing packages"
    fi
fi
if [ ${#generate[@]} -gt 0 ]; then
    [ ${#missing[@]} -gt 0 ] || echo "Generating ${#generate[@]} locales for the code-page tests: ${generate[*]}"
    for l in "${generate[@]}"; do
        step $sudo sed -i -E "s/^# *($l UTF-8)\$/\1/" /etc/locale.gen || fail "generating locales"
        grep -qx "$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null ||
            fail "generating locales"
    done
    step "${as_root[@]}" locale-gen || fail "generating locales"
fi
echo "Set-up done in $((SECONDS - started)) s (the package manager's output is in $log)."
