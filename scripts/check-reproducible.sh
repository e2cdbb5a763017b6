#!/usr/bin/env bash
# Builds Obrello.exe and the portable ZIP twice, each from a fresh clone of the
# current commit in a folder of its own, and checks both builds give the very
# same bytes.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build_once() {
    local tree=$work/$1
    git clone --quiet --no-hardlinks "$root" "$tree"
    cmake --preset windows -S "$tree" >/dev/null
    cmake --build "$tree/build/windows" --target Obrello -- --no-print-directory >/dev/null
    (cd "$tree/build/windows" && cpack --config CPackConfig.cmake >/dev/null)
    (cd "$tree/build/windows" && sha256sum Obrello.exe package/*.zip)
}

first=$(build_once one)
second=$(build_once two)
echo "$first"
if [ "$first" != "$second" ]; then
    echo "reproducible: the two builds differ:"
    echo "$second"
    exit 1
fi
echo "reproducible: both builds are byte-identical"
