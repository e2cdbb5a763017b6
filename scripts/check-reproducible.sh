#!/usr/bin/env bash
# Builds Obrello.exe and the portable ZIP twice, each from a fresh clone of the
# current commit, and checks both give the very same bytes. The second runs on
# tmpfs (/dev/shm) where there is room, which lists a folder's files in
# another order than a disk; and, run as root, as the user nobody, so two
# builders are compared. With uncommitted changes the clones would not be
# the tree given: nothing is built, and the exit status is 3 (skipped).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
changed=$(git status --porcelain --untracked-files=all | cut -c4- | paste -sd ' ')
if [ -n "$changed" ]; then
    echo "reproducible: skipped (uncommitted changes: $changed)"
    exit 3
fi
# Both clones take this commit, even when the branch moves on meanwhile.
commit=$(git rev-parse HEAD)
first_dir=$(mktemp -d)
# Two clones and their builds take a few MB; ask for 64 MB free.
shm=()
[ ! -w /dev/shm ] || [ "$(df -Pk /dev/shm | awk 'NR == 2 { print $4 }')" -lt 65536 ] || shm=(-p /dev/shm)
second_dir=$(mktemp -d "${shm[@]}")
trap 'rm -rf "$first_dir" "$second_dir"' EXIT
as_builder=()
if [ "$(id -u)" -eq 0 ]; then
    chown nobody:nogroup "$second_dir"
    as_builder=(setpriv --reuid=nobody --regid=nogroup --clear-groups env HOME="$second_dir")
fi

# Clones as the invoking user (git refuses a repository another user owns),
# then builds as the folder's owner, as scripts/package.sh does.
build_once() {
    local tree=$1/clone
    git clone --quiet --no-hardlinks "$root" "$tree"
    git -C "$tree" -c advice.detachedHead=false checkout --quiet "$commit"
    chown -R --reference="$1" "$tree"
    "${@:2}" bash -ec '"$1/scripts/package.sh" >"$1/package.log" 2>&1 || { tail -n 20 "$1/package.log" >&2
        exit 1; }; cd "$1/build/windows" && sha256sum Obrello.exe package/*.zip' - "$tree"
}

first=$(build_once "$first_dir") || { echo "reproducible: the first build failed" && exit 1; }
second=$(build_once "$second_dir" "${as_builder[@]}") || { echo "reproducible: the second build failed" && exit 1; }
report() { echo "reproducible: $1 build by $(stat -c %U "$2") on $(df --output=fstype "$2" | tail -n 1) ($2):"; }
echo "reproducible: commit $commit"
report first "$first_dir" && echo "$first"
report second "$second_dir" && echo "$second"
if [ "$first" != "$second" ]; then
    echo "reproducible: the two builds differ"
    exit 1
fi
echo "reproducible: both builds are byte-identical"
