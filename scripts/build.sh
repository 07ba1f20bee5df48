#!/usr/bin/env bash
# Builds the Windows tree (Tikkora.exe and the Windows tests, with MinGW-w64)
# into build/win and the native sanitizer tests of the window-free code into
# build/native. Given target names, it builds only those of the Windows tree
# (the benchmarks are built only so: `scripts/build.sh benchmarks`).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
jobs=$(nproc)

# Compiled through ccache, with a cache of this tree's own, so that the tests'
# signed build, a second tree beside build/win, takes its objects from this one
# instead of compiling everything again. Paths are cached relative to the
# compiling folder, which is why that tree lies at the same depth.
launcher=()
if command -v ccache >/dev/null; then
    cache="env;CCACHE_DIR=$root/build/ccache;CCACHE_BASEDIR=$root;CCACHE_NOHASHDIR=true"
    cache="$cache;CCACHE_DEPEND=true;CCACHE_MAXSIZE=1G;ccache"
    launcher=(-DCMAKE_C_COMPILER_LAUNCHER="$cache" -DCMAKE_CXX_COMPILER_LAUNCHER="$cache")
fi
cmake -S "$root" -B "$root/build/win" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
if [ $# -gt 0 ]; then
    cmake --build "$root/build/win" -j "$jobs" --target "$@"
    exit 0
fi

# The native tree is built beside the Windows one: each leaves the cores idle
# at times (configuring, generating the pictures, linking), which the other
# fills. Its output is shown when it is done.
native_pid=
if [ "${TIKKORA_SKIP_NATIVE:-0}" != 1 ]; then
    mkdir -p "$root/build"
    native_log=$root/build/native-build.log
    {
        cmake -S "$root" -B "$root/build/native" -DCMAKE_BUILD_TYPE=Debug >/dev/null &&
            cmake --build "$root/build/native" -j "$jobs"
    } >"$native_log" 2>&1 &
    native_pid=$!
fi
cmake --build "$root/build/win" -j "$jobs"
if [ -n "$native_pid" ]; then
    native_status=0
    wait "$native_pid" || native_status=$?
    cat "$native_log"
    [ "$native_status" -eq 0 ] || exit "$native_status"
fi
