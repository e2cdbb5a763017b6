#!/usr/bin/env bash
# Installs whatever the build and the tests need that this Debian machine
# lacks. Installs nothing, and takes well under a second, when all is there.
#   setup.sh            everything the tests need
#   setup.sh --run      only what building and starting the program needs
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
source "$here/wine-host.sh"

# Both Windows builds, the shipped 32-bit one and the 64-bit one that runs the
# Windows tests on every host, with 64-bit Wine; 32-bit Wine only where this
# host can run it at all, since its set-up fails elsewhere.
run_packages=(cmake make g++ googletest g++-mingw-w64-i686 g++-mingw-w64-x86-64 wine wine64)
with_i386=false
if host_runs_32bit; then
    run_packages+=(wine32:i386)
    with_i386=true
fi
# Beyond the build: the benchmark library, clang with libFuzzer for the fuzz
# run, the static analysers, and Chromium with Python for the browser check.
test_packages=("${run_packages[@]}" libbenchmark-dev clang libclang-rt-14-dev clang-tidy cppcheck llvm
    python3 chromium locales)
# Fonts that draw each script the language packs are written in, so the pack
# checks measure real glyphs: Latin, Greek and Cyrillic; Vietnamese; Chinese,
# Japanese and Korean; Thai.
test_packages+=(fonts-liberation fonts-dejavu-core fonts-wqy-microhei fonts-tlwg-loma-otf)
packages=("${test_packages[@]}")
# Wine takes the ANSI code page from the locale: these give the code-page
# tests and the language-pack checks 1250, 1251, 1253, 1254, 1257, 1258, 874,
# 932, 936, 949 and 950.
locales=(pl_PL.UTF-8 ru_RU.UTF-8 el_GR.UTF-8 tr_TR.UTF-8 lt_LT.UTF-8 vi_VN.UTF-8 th_TH.UTF-8
    ja_JP.UTF-8 zh_CN.UTF-8 ko_KR.UTF-8 zh_TW.UTF-8)
if [ "${1:-}" = "--run" ]; then
    packages=("${run_packages[@]}")
    locales=()
fi

# Not on Debian (Windows or another system): the user provides the tools.
command -v dpkg-query >/dev/null 2>&1 || exit 0

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [ "$status" = "install ok installed" ] || missing+=("$p")
done
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    if $with_i386 && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi

# `locale -a` spells pl_PL.UTF-8 as pl_PL.utf8.
generate=()
for l in ${locales[@]+"${locales[@]}"}; do
    locale -a 2>/dev/null | grep -qx "${l%.UTF-8}.utf8" || generate+=("$l")
done
if [ ${#generate[@]} -gt 0 ]; then
    echo "Generating locales: ${generate[*]}"
    for l in "${generate[@]}"; do
        $sudo sed -i -E "s/^# *($l UTF-8)\$/\1/" /etc/locale.gen
        grep -qx "$l UTF-8" /etc/locale.gen || echo "$l UTF-8" | $sudo tee -a /etc/locale.gen >/dev/null
    done
    $sudo locale-gen >/dev/null
fi
