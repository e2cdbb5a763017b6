#!/usr/bin/env bash
# Static analysis of the product code (compose/, settings/, language/, ui/):
# clang-tidy with the repository's .clang-tidy, then cppcheck. Tests, the
# benchmark and the fuzzer are not product code and are not analysed; the
# layout of every C++ file in the repository is checked against .clang-format.
# Exits non-zero on any finding, or when a tool is missing or cannot parse.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

product_dirs=(compose settings language ui)
mapfile -t sources < <(find "${product_dirs[@]}" -name '*.cpp' | sort)
mingw_cxx=i686-w64-mingw32-g++-posix # the Windows build's compiler

for tool in clang-tidy cppcheck clang-format "$mingw_cxx"; do
    if ! command -v "$tool" >/dev/null; then
        echo "lint: $tool is missing; scripts/setup.sh installs it" >&2
        exit 2
    fi
done

# The product includes <windows.h>, so clang parses it as the Windows build
# does: the i686 MinGW target with the cross compiler's own system headers,
# and never the host's (-nostdlibinc keeps only clang's built-in ones).
mapfile -t cxx_dirs < <(echo | "$mingw_cxx" -E -x c++ -v - 2>&1 |
    sed -n '/^#include <...> search starts here:/,/^End of search list/p' |
    sed -n 's/^ //p' | grep '/include/c++')
sysroot_include=$(realpath /usr/i686-w64-mingw32/include)
tidy_flags=(--target=i686-w64-mingw32 -std=c++17 -nostdlibinc)
for dir in "${cxx_dirs[@]}" "$sysroot_include"; do
    tidy_flags+=(-isystem "$dir")
done
tidy_flags+=(-I"$root" -I"$root/res")

status=0
echo "=== clang-format"
if ! git ls-files -z '*.cpp' '*.h' | xargs -0 clang-format --dry-run --Werror; then
    status=1
fi

echo "=== clang-tidy: ${#sources[@]} files"
# Its tally of warnings hidden in system headers is noise: drop it.
if ! clang-tidy --quiet "${sources[@]}" -- "${tidy_flags[@]}" \
    2> >(grep -v '^[0-9]* warnings\? generated\.$' >&2); then
    status=1
fi

# cppcheck knows the Win32 API from its windows library (argument sizes,
# handles that must be closed) for a 32-bit ANSI build.
echo "=== cppcheck"
if ! cppcheck --quiet --error-exitcode=1 --inline-suppr \
    --enable=warning,style,performance,portability \
    --std=c++17 --language=c++ --platform=win32A --library=windows \
    -D_WIN32 -DWIN32 -I"$root" -I"$root/res" \
    --suppress=missingIncludeSystem \
    "${sources[@]}"; then
    status=1
fi

if [ $status -eq 0 ]; then
    echo "lint: clean"
else
    echo "lint: findings above" >&2
fi
exit $status
