#!/usr/bin/env bash
# Prints Tikkora.exe's start-up time, its CPU time while it ticks and its peak
# memory, beside the same figures of a minimal Win32 window program built with
# the same toolchain, measured in the same run under Wine in an Xvfb; then the
# cost of one clock tick measured inside a Windows benchmark program.
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
winpath() { winepath -w "$1" 2>/dev/null; }
ticks_per_second=$(getconf CLK_TCK)

# CPU seconds (user + system) of a Linux process, from /proc.
cpu_of() { awk -v hz="$ticks_per_second" '{printf "%.2f", ($14 + $15) / hz}' "/proc/$1/stat"; }

# Runs one program for $idle seconds once it is up: its own CPU time, the Wine
# server's CPU time in the same span (the work it does on the program's
# behalf), and the program's peak resident memory.
idle_figures() {
    local exe=$1
    wine "$work/$exe" >/dev/null 2>&1 &
    sleep 3
    # The Windows program itself (its name is the exe's), not the wine launcher.
    local pid
    pid=$(pgrep -n "${exe:0:15}" || true)
    if [ -z "$pid" ]; then
        echo "no process"
        return
    fi
    # The server of this prefix: it works in a folder named after the prefix's
    # device and inode, in hexadecimal.
    local tag server=""
    tag=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for p in $(pgrep "^wineserver"); do
        [ "$(basename "$(readlink "/proc/$p/cwd")")" = "$tag" ] && server=$p
    done
    local c0 s0 c1 s1
    c0=$(cpu_of "$pid"); s0=$(cpu_of "${server:-self}")
    sleep "$idle"
    c1=$(cpu_of "$pid"); s1=$(cpu_of "${server:-self}")
    local hwm
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null || true
    wait 2>/dev/null || true
    awk -v c0="$c0" -v c1="$c1" -v s0="$s0" -v s1="$s1" -v n="$idle" -v m="$hwm" 'BEGIN {
        c = c1 - c0; s = s1 - s0
        printf "cpu %.2f s (%.3f %% of a core) + wineserver %.2f s over %d s, peak RSS %d KiB", c, 100*c/n, s, n, m
    }'
}

printf '%-18s | %-52s | %s\n' program 'start to first paint (5 runs)' 'while ticking'
for exe in Tikkora.exe minimal_window.exe; do
    rm -f "$work/Tikkora.ini"
    s=$(wine "$bin/process_bench.exe" startup "$(winpath "$work/$exe")" 5 | tr -d '\r')
    i=$(idle_figures "$exe")
    printf '%-18s | %-52s | %s\n' "$exe" "$s" "$i"
done
rm -rf "$work"

echo
wine "$bin/tick_bench.exe" | tr -d '\r'
