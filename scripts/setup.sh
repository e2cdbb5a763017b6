#!/usr/bin/env bash
# Installs whatever the build and the tests need that this Debian machine
# lacks. Installs nothing, and takes well under a second, when all is there.
#   setup.sh            everything the tests need
#   setup.sh --run      only what building and starting the program needs
set -euo pipefail

run_packages=(cmake make g++ googletest g++-mingw-w64-i686 wine wine32:i386)
# Beyond the build: the benchmark library, clang with libFuzzer for the fuzz
# run, the static analysers, and Chromium with Python for the browser check.
test_packages=("${run_packages[@]}" libbenchmark-dev clang libclang-rt-14-dev clang-tidy cppcheck
    python3 chromium)
packages=("${test_packages[@]}")
[ "${1:-}" = "--run" ] && packages=("${run_packages[@]}")

# Not on Debian (Windows or another system): the user provides the tools.
command -v dpkg-query >/dev/null 2>&1 || exit 0

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
