#!/usr/bin/env bash
# Prints Tikkora.exe's start-up time, its CPU time while it ticks and its peak
# memory, beside the same figures of a minimal Win32 window program built with
# the same toolchain, measured in the same run under Wine in an Xvfb.
#   scripts/bench.sh [idle-seconds]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
idle=${1:-60}
"$root/scripts/install-deps.sh"
TIKKORA_SKIP_NATIVE=1 "$root/scripts/build.sh" >/dev/null
source "$root/scripts/wine-env.sh"
wine_env_start "$root/build/wineprefix-bench" own

bin="$root/build/win/bin"
work=$(mktemp -d)
cp "$bin/Tikkora.exe" "$bin/Tikkora.wav" "$bin/minimal_window.exe" "$work/"
bench() { wine "$bin/process_bench.exe" "$@" | tr -d '\r'; }
winpath() { winepath -w "$1" 2>/dev/null; }

printf '%-18s | %-50s | %s\n' program 'start to first paint' 'idle CPU and peak memory'
for exe in Tikkora.exe minimal_window.exe; do
    rm -f "$work/Tikkora.ini"
    s=$(bench startup "$(winpath "$work/$exe")" 5)
    i=$(bench idle "$(winpath "$work/$exe")" "$idle")
    printf '%-18s | %-50s | %s\n' "$exe" "$s" "$i"
done
rm -rf "$work"
