#!/usr/bin/env bash
# Builds the portable package build/windows/package/Obrello-<version>-win32.zip:
# Obrello.exe, the Lngs folder, README.txt and LICENSE.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --build
cmake --preset windows >/dev/null
cmake --build --preset windows --target Obrello -- --no-print-directory >/dev/null
(cd build/windows && cpack --config CPackConfig.cmake >/dev/null)
ls -l build/windows/package/*.zip
