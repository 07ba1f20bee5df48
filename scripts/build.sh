#!/usr/bin/env bash
# Builds the Windows tree (Tikkora.exe and the Windows tests, with MinGW-w64)
# into build/win and the native sanitizer tests of the window-free code into
# build/native. Given target names, it builds only those of the Windows tree.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
if [ $# -gt 0 ]; then
    cmake --build "$root/build/win" -j "$jobs" --target "$@"
    exit 0
fi
cmake --build "$root/build/win" -j "$jobs"

if [ "${TIKKORA_SKIP_NATIVE:-0}" != 1 ]; then
    cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null
    cmake --build "$root/build/native" -j "$jobs"
fi
