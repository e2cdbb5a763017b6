#!/usr/bin/env bash
# Builds Obrello.exe and the portable ZIP twice, each from a fresh clone of the
# current commit in a folder of its own, and checks both builds give the very
# same bytes. The second build runs on tmpfs (/dev/shm) where the host has one
# with room to spare: folders list their files in another order there than on
# a disk, so a package that follows that order differs.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
# Both clones take this commit, even when the branch moves on meanwhile.
commit=$(git rev-parse HEAD)
first_dir=$(mktemp -d)
second_dir=$first_dir
trap 'rm -rf "$first_dir" "$second_dir"' EXIT
# Two clones and their builds take a few MB; ask for 64 MB free.
if [ -d /dev/shm ] && [ -w /dev/shm ] &&
    [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -ge 65536 ]; then
    second_dir=$(mktemp -d -p /dev/shm)
fi

fstype() { df --output=fstype "$1" | tail -n 1; }

build_once() {
    local tree=$1/$2
    git clone --quiet --no-hardlinks "$root" "$tree"
    git -C "$tree" -c advice.detachedHead=false checkout --quiet "$commit"
    cmake --preset windows -S "$tree" >/dev/null
    cmake --build "$tree/build/windows" --target Obrello -- --no-print-directory >/dev/null
    (cd "$tree/build/windows" && cpack --config CPackConfig.cmake >/dev/null)
    (cd "$tree/build/windows" && sha256sum Obrello.exe package/*.zip)
}

first=$(build_once "$first_dir" one)
second=$(build_once "$second_dir" two)
echo "reproducible: commit $commit"
echo "reproducible: first build on $(fstype "$first_dir") ($first_dir):"
echo "$first"
echo "reproducible: second build on $(fstype "$second_dir") ($second_dir):"
echo "$second"
if [ "$first" != "$second" ]; then
    echo "reproducible: the two builds differ"
    exit 1
fi
echo "reproducible: both builds are byte-identical"
