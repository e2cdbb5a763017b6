#!/usr/bin/env bash
# Static analysis of the product code (compose/, settings/, language/, ui/):
# clang-tidy, cppcheck, and the product and its resource script in
# Microsoft's dialect; and every C++ file's layout against .clang-format.
# Files and options come from the build, never restated here. Exits non-zero
# on any finding, or when a tool is missing or cannot parse.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

# An LLVM tool by its plain name, else by its newest versioned one: Debian
# installs clang-cl only as clang-cl-14, say.
llvm_tool() {
    command -v "$1" || compgen -c "$1-" | grep -xE "$1-[0-9]+" | sort -V | tail -n 1
}
clang_cl=$(llvm_tool clang-cl)
llvm_rc=$(llvm_tool llvm-rc)

for tool in clang-tidy cppcheck clang-format cmake jq "${clang_cl:-clang-cl}" "${llvm_rc:-llvm-rc}"; do
    command -v "$tool" >/dev/null || { echo "lint: $tool is missing; scripts/setup.sh installs it" >&2 && exit 2; }
done
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The current build's compile database (configuring refreshes it), cut to the
# product's entries: compose/, settings/, language/ and ui/.
cmake --preset windows >/dev/null || exit 2
jq --arg root "$root/" '[.[] | select(.file | ltrimstr($root) | test("^(compose|settings|language|ui)/"))]' \
    build/windows/compile_commands.json >"$work/compile_commands.json" || exit 2
mapfile -t sources < <(jq -r '.[].file' "$work/compile_commands.json")
mapfile -t formatted < <(git ls-files '*.cpp' '*.h')

# A pass that linted fewer files than the product has sources fails.
status=0 product=$(git ls-files '*.cpp' | grep -cE '^(compose|settings|language|ui)/')
linted() { # PASS COUNT
    echo "=== $1: $2 files"
    (($2 >= product)) || { echo "lint: $1 linted $2 files, fewer than the product's $product" >&2 && status=1; }
}
linted clang-format ${#formatted[@]}
clang-format --dry-run --Werror "${formatted[@]}" || status=1

linted clang-tidy ${#sources[@]}
# Each file with the build's own command; clang takes the i686 MinGW target
# from the compiler's name. The sysroot keeps the host's headers out and
# mingw-w64's in (no libstdc++ there: the product includes none). Its tally
# of warnings hidden in system headers is noise.
clang-tidy --quiet -p "$work" --extra-arg=--sysroot=/usr/i686-w64-mingw32 "${sources[@]}" \
    2> >(grep -v '^[0-9]* warnings\? generated\.$' >&2) || status=1

# cppcheck knows the Win32 API from its windows library (argument sizes,
# handles that must be closed) for a 32-bit ANSI build.
checked=$(cppcheck --error-exitcode=1 --inline-suppr --enable=warning,style,performance,portability \
    --platform=win32A --library=windows --suppress=missingIncludeSystem --project="$work/compile_commands.json" |
    sed -n 's/^Checking \(.*\.cpp\) \.\.\.$/\1/p' | sort -u | wc -l) || status=1
linted cppcheck "$checked"

# The product and its resource script in Microsoft's dialect: clang-cl takes
# cl's command line (_MSC_VER, no __GNUC__) with the options the build writes
# for it and each file's defines and include folders; -Wgnu and -Wpedantic
# name what only GCC accepts. Syntax only (/Zs). llvm-rc takes rc's dialect.
# Both processors, each with its own manifest. mingw-w64's headers stand in
# for the SDK, which takes three things of the check, never of the product:
# _X86_, which they expect from GCC; SSE2, cl's default on i686 and not
# clang-cl's, without which their MemoryBarrier is missing; and a forced
# include, as without __GNUC__ they define away the __attribute__ that
# clang's own intrinsic headers use, and put __declspec(noreturn) and
# __declspec(deprecated) after a declarator, where no compiler takes it.
printf '%s\n' '#include <_mingw.h>' '#undef __attribute__' \
    '#undef __MINGW_ATTRIB_NORETURN' '#define __MINGW_ATTRIB_NORETURN' \
    '#undef __MINGW_ATTRIB_DEPRECATED' '#define __MINGW_ATTRIB_DEPRECATED' >"$work/mingw-as-sdk.h"
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/windows/CMakeCache.txt)
read -ra cl_options <build/windows/product-cl-options.txt || exit 2
for arch in i686 x86_64; do
    headers=/usr/$arch-w64-mingw32/include
    arch_flags=(-D_X86_ /arch:SSE2) bits=4
    [ $arch = i686 ] || arch_flags=() bits=8
    # The version header and the manifest, by the build's own code.
    mkdir "$work/$arch" && (cd "$work/$arch" && cmake -DPROJECT_VERSION="$version" \
        -DCMAKE_SIZEOF_VOID_P=$bits -P "$root/cmake/ObrelloResources.cmake") || exit 2
    # Relative names: clang-cl would take /work/... for its /w option. The
    # command's words as the shell splits them, quoted paths whole.
    parsed=0
    while IFS=$'\t' read -r file command; do
        mapfile -t file_flags < <(xargs printf '%s\n' <<<"$command" | grep -E '^-[DI]')
        parsed=$((parsed + 1))
        "$clang_cl" --target=$arch-pc-windows-msvc /nologo /Zs -Wgnu -Wpedantic /WX "${cl_options[@]}" \
            "${file_flags[@]}" "${arch_flags[@]}" /X /FI"$work/mingw-as-sdk.h" -imsvc "$headers" "$file" ||
            status=1
    done < <(jq -r --arg root "$root/" '.[] | [(.file | ltrimstr($root)), .command] | @tsv' \
        "$work/compile_commands.json")
    linted "MSVC dialect, $arch, ${clang_cl##*/}" $parsed
    # rc has no switch that fails on a warning: any output is a finding.
    if ! rc_output=$("$llvm_rc" /X /I "$headers" /I "$work/$arch/generated" /FO "$work/$arch.res" \
        res/obrello.rc 2>&1) || [ -n "$rc_output" ]; then
        echo "$rc_output" >&2
        status=1
    fi
done

if [ $status -eq 0 ]; then
    echo "lint: clean"
else
    echo "lint: findings above" >&2
fi
exit $status
