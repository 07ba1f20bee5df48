#!/usr/bin/env bash
# Prints Tikkora.exe's figures beside those of reference programs built with
# the same toolchain, measured in the same run under Wine in an Xvfb of its
# own, each ratio with its goal beside it:
# - ticking: the CPU time of the program, the Wine server and the X server
#   together while the clock ticks, analog clock on and off, in rounds taking
#   turns (TIKKORA_BENCH_ROUNDS, 3), with and without the servers' own idle
#   CPU measured in the same rounds, beside the minimal
#   clock (a worker sleeping 250 ms that hands each tick to the window, a 47×47
#   face with three hands composed off screen and blitted, or six 16×27 digit
#   cells blitted, when the second changes);
# - the seconds' edge: how long after the true second (the system clock) the
#   clock's window changes, read from the X server's pixels from outside the
#   program, and how even its steps are;
# - peak memory beside the minimal clock's;
# - the clock as installed, whose automatic update check runs once half a
#   minute after its start: its CPU and peak memory, beside the ticking;
# - start to first visible paint beside the minimal window program, and beside
#   the clock's own window set shown the clock's way, which tells what the
#   windows cost from what the clock does besides;
# - one tick's work inside tick_bench beside a bare repaint of a window;
# - a soak run of ticks through the clock's timer with the time driven fast,
#   and the process's GDI objects, USER objects and handles before and after.
#   scripts/bench.sh [ticking-seconds] [soak-ticks] [start-runs]
# TIKKORA_BUILD_DIR, TIKKORA_JOBS and TIKKORA_WINEPREFIX choose another build
# folder, build jobs and Wine prefix. A build folder that is already set up is
# built as it is set up.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
soak_ticks=${2:-100000}
start_runs=${3:-15}

cpu_goal=0.6
start_goal=1.2
window_set_goal=1.2
tick_goal=0.4
edge_goal_ms=20
edge_spread_goal_ms=10
memory_goal_kib=3072

"$root/scripts/install-deps.sh"
edge_watch=$root/build/second_edge_watch
g++ -O2 -std=c++20 -o "$edge_watch" "$root/tests/bench/second_edge_watch.cpp" -lX11
build=${TIKKORA_BUILD_DIR:-$root/build/win}
if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-i686.cmake" \
          -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
fi
cmake --build "$build" -j "${TIKKORA_JOBS:-$(nproc)}" \
      --target Tikkora tick_bench minimal_clock minimal_window minimal_window_set process_bench >/dev/null
bin="$build/bin"

source "$root/scripts/wine-env.sh"
wine_env_start "${TIKKORA_WINEPREFIX:-$root/build/wineprefix-bench}" own
# One Wine server for the whole run, so that no program pays for its start.
wineserver -p >/dev/null 2>&1 || true

work=$(mktemp -d)
stop_all() {
    rm -rf "$work"
    wine_env_cleanup
}
trap stop_all EXIT
cp "$bin/Tikkora.exe" "$bin/minimal_clock.exe" "$bin/minimal_window.exe" \
   "$bin/minimal_window_set.exe" "$work/"
[ -f "$bin/Tikkora.wav" ] && cp "$bin/Tikkora.wav" "$work/"
winpath() { winepath -w "$1" 2>/dev/null; }

# CPU seconds of a Linux process, all its threads, to the nanosecond the
# scheduler counts (the 10 ms steps of /proc/PID/stat are too coarse for a
# clock that sleeps nearly all the time).
cpu_of() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ns += $1} END {printf "%.4f", ns / 1e9}'; }

# The processes of a running Windows program (its name is the exe's, not the
# launcher's) of this prefix: others may run the same program meanwhile.
prefix_pids() {
    local p
    for p in $(pgrep "${1:0:15}" || true); do
        if tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX"; then
            echo "$p"
        fi
    done
}

# Runs one program for $seconds once it is up and prints, on one line: its own
# CPU seconds, the Wine server's and the X server's over the same span (the
# work they do on its behalf), and its peak resident memory in KiB.
ticking_figures() {
    wine "$work/$1" "${@:2}" >/dev/null 2>&1 &
    local launcher=$!
    sleep 4
    local pid server
    pid=$(prefix_pids "$1" | tail -n 1)
    server=$(wine_server_pid)
    if [ -z "$pid" ] || [ -z "$server" ]; then
        echo "no process" >&2
        return 1
    fi
    local c0 s0 x0 c1 s1 x1 hwm
    c0=$(cpu_of "$pid"); s0=$(cpu_of "$server"); x0=$(cpu_of "$TIKKORA_XVFB_PID")
    sleep "$seconds"
    c1=$(cpu_of "$pid"); s1=$(cpu_of "$server"); x1=$(cpu_of "$TIKKORA_XVFB_PID")
    hwm=$(awk '/VmHWM/ {print $2}' "/proc/$pid/status")
    kill "$pid" 2>/dev/null || true
    wait "$launcher" 2>/dev/null || true
    awk -v c0="$c0" -v c1="$c1" -v s0="$s0" -v s1="$s1" -v x0="$x0" -v x1="$x1" -v m="$hwm" \
        'BEGIN { printf "%.4f %.4f %.4f %d\n", c1 - c0, s1 - s0, x1 - x0, m }'
}

# Tikkora in the standard window, analog clock on or off, from a settings file
# that holds just that; the automatic update check as the second argument
# says (off for the ticking figures: the minimal clock has none).
tikkora_settings() {
    printf '[Clock]\r\nAnalog=%s\r\nStyle=Standard\r\n[OnlineUpdate]\r\nAuto=%s\r\n' "$1" "$2" \
        >"$work/Tikkora.ini"
}
tikkora_ticking() {
    tikkora_settings "$1" "$2"
    ticking_figures Tikkora.exe
}

show_ticking() {
    read -r c s x m <<<"$2"
    awk -v name="$1" -v c="$c" -v s="$s" -v x="$x" -v m="$m" -v n="$seconds" 'BEGIN {
        printf "  %-26s program %7.3f s + wineserver %7.3f s + Xvfb %7.3f s = %7.3f s (%5.2f %% of a core); peak RSS %6d KiB\n",
               name, c, s, x, c + s + x, 100 * (c + s + x) / n, m }'
}

# The programs take turns, in rounds, and each figure is the median of its
# rounds: other work on the machine meanwhile slows a round of any of them,
# not one of them for the whole run. A span with no program running is one of
# the turns: the Wine server's and the X server's own idle CPU, which neither
# clock causes, is then shown and taken out of the ratios beside the figures
# that hold it.
rounds=${TIKKORA_BENCH_ROUNDS:-3}
idle_figures() {
    local server s0 x0 s1 x1
    # The one Wine server of the run is up all along (wineserver -p).
    server=$(wine_server_pid)
    s0=$(cpu_of "$server"); x0=$(cpu_of "$TIKKORA_XVFB_PID")
    sleep "$seconds"
    s1=$(cpu_of "$server"); x1=$(cpu_of "$TIKKORA_XVFB_PID")
    awk -v s0="$s0" -v s1="$s1" -v x0="$x0" -v x1="$x1" \
        'BEGIN { printf "0 %.4f %.4f 0\n", s1 - s0, x1 - x0 }'
}
# The median of each of the four columns of the lines given.
median_figures() {
    local column values
    for column in 1 2 3 4; do
        values=$(awk -v c="$column" '{ print $c }' <<<"$1" | sort -g)
        awk '{ v[NR] = $1 } END { printf "%s ", (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }' \
            <<<"$values"
    done
    echo
}

echo "Ticking for $seconds s each, standard window, $rounds rounds taking turns, medians"
echo "(CPU of program + Wine server + X server; the idle line is the two servers with no program):"
declare -A figures rounds_of
for ((round = 1; round <= rounds; round++)); do
    rounds_of[idle]+=$(idle_figures)$'\n'
    for mode in off on; do
        rounds_of[tikkora_$mode]+=$(tikkora_ticking "$([ $mode = on ] && echo 1 || echo 0)" 0)$'\n'
        if [ $mode = on ]; then
            rounds_of[minimal_$mode]+=$(ticking_figures minimal_clock.exe analog)$'\n'
        else
            rounds_of[minimal_$mode]+=$(ticking_figures minimal_clock.exe)$'\n'
        fi
    done
done
for key in idle tikkora_off minimal_off tikkora_on minimal_on; do
    figures[$key]=$(median_figures "$(sed '/^$/d' <<<"${rounds_of[$key]}")")
done
show_ticking "no program (servers idle)" "${figures[idle]}"
for mode in off on; do
    show_ticking "Tikkora, analog $mode" "${figures[tikkora_$mode]}"
    show_ticking "minimal clock, analog $mode" "${figures[minimal_$mode]}"
done
# A clock as it is installed checks for an update half a minute after its
# start: reported beside the ticking, whose goals it is no part of.
figures[tikkora_check]=$(tikkora_ticking 0 1)
show_ticking "Tikkora, update check on" "${figures[tikkora_check]}"
echo
echo "The seconds' edge, $seconds s, standard window, digital (X server's pixels of the clock's window):"
tikkora_settings 0 0
wine "$work/Tikkora.exe" >/dev/null 2>&1 &
edge_launcher=$!
sleep 4
edge=""
for window in $(xdotool search --onlyvisible --class tikkora.exe 2>/dev/null || true); do
    eval "$(xdotool getwindowgeometry --shell "$window")"
    edge=$("$edge_watch" "$X" "$Y" "$WIDTH" "$HEIGHT" "$seconds" || true)
    break
done
for p in $(prefix_pids Tikkora.exe); do
    kill "$p" 2>/dev/null || true
done
wait "$edge_launcher" 2>/dev/null || true
echo "  ${edge:-no window found}"

echo
echo "Start to first visible paint ($start_runs runs each, taking turns):"
rm -f "$work/Tikkora.ini"
# Once each beforehand, so that neither pays for a first load of its libraries.
for program in Tikkora.exe minimal_window.exe minimal_window_set.exe; do
    wine "$bin/process_bench.exe" startup "$(winpath "$work/$program")" 1 >/dev/null 2>&1 || true
done
rm -f "$work/Tikkora.ini"
start_all=$(wine "$bin/process_bench.exe" startup "$(winpath "$work/Tikkora.exe")" \
                 "$(winpath "$work/minimal_window.exe")" "$(winpath "$work/minimal_window_set.exe")" \
                 "$start_runs" | tr -d '\r')
start_tikkora=$(sed -n 1p <<<"$start_all")
start_minimal=$(sed -n 2p <<<"$start_all")
start_window_set=$(sed -n 3p <<<"$start_all")
echo "  Tikkora.exe             $start_tikkora"
echo "  minimal_window.exe      $start_minimal"
echo "  minimal_window_set.exe  $start_window_set"

echo
echo "One tick inside the program:"
tick=$(wine "$bin/tick_bench.exe" | tr -d '\r')
sed 's/^/  /' <<<"$tick"

echo
echo "Soak:"
soak_status=0
soak=$(wine "$bin/tick_bench.exe" soak "$soak_ticks" | tr -d '\r') || soak_status=$?
sed 's/^/  /' <<<"$soak"

echo
echo "Ratios (goal beside each):"
ratio_line() { # name value goal comparison
    awk -v name="$1" -v v="$2" -v g="$3" -v unit="$4" 'BEGIN {
        printf "  %-58s %8.2f%s  goal <= %s%s  %s\n", name, v, unit, g, unit, (v <= g ? "met" : "NOT MET") }'
}
# The Wine server's CPU with no program running is counted in both sides'
# figures and caused by neither; the X server's is not taken out, since it
# works less, not more, while a program draws.
read -r _ idle_s _ _ <<<"${figures[idle]}"
for mode in on off; do
    read -r c s x m <<<"${figures[tikkora_$mode]}"
    read -r mc ms mx mm <<<"${figures[minimal_$mode]}"
    ratio_line "ticking CPU, all three, analog $mode / minimal clock" \
        "$(awk -v t="$c" -v u="$s" -v w="$x" -v p="$mc" -v q="$ms" -v r="$mx" \
            'BEGIN { d = p + q + r; print (d > 0 ? (t + u + w) / d : 999) }')" "$cpu_goal" "x"
    ratio_line "  the same without the Wine server's idle CPU (both sides)" \
        "$(awk -v t="$c" -v u="$s" -v w="$x" -v p="$mc" -v q="$ms" -v r="$mx" -v i="$idle_s" \
            'BEGIN { d = p + q + r - i; print (d > 0 ? (t + u + w - i) / d : 999) }')" "$cpu_goal" "x"
    awk -v t="$c" -v p="$mc" -v mode="$mode" 'BEGIN {
        printf "  %-58s %8.2fx  (no goal of its own)\n", "ticking CPU, own process only, analog " mode " / minimal clock", (p > 0 ? t / p : 999) }'
    ratio_line "peak memory, analog $mode, above the minimal clock's" \
        "$(awk -v a="$m" -v b="$mm" 'BEGIN { print a - b }')" "$memory_goal_kib" " KiB"
done
read -r c s x m <<<"${figures[tikkora_check]}"
read -r mc ms mx mm <<<"${figures[minimal_off]}"
awk -v t="$c" -v u="$s" -v w="$x" -v p="$mc" -v q="$ms" -v r="$mx" -v m="$m" -v mm="$mm" 'BEGIN {
    d = p + q + r
    printf "  %-58s %8.2fx  (the check once, no goal of its own)\n", "CPU, all three, with the update check / minimal clock", (d > 0 ? (t + u + w) / d : 999)
    printf "  %-58s %8.2f KiB  (no goal of its own)\n", "peak memory with the update check, above the minimal clock", m - mm }'
median_ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN {
        split(a, x, "median="); split(b, y, "median="); print (y[2] + 0 > 0 ? (x[2] + 0) / (y[2] + 0) : 999) }'
}
ratio_line "start to first paint (medians) / minimal window" \
    "$(median_ratio "$start_tikkora" "$start_minimal")" "$start_goal" "x"
printf "  %-58s %8.2fx  (no goal of its own)\n" "start, the clock's window set alone / minimal window" \
    "$(median_ratio "$start_window_set" "$start_minimal")"
ratio_line "start to first paint / the clock's window set alone" \
    "$(median_ratio "$start_tikkora" "$start_window_set")" "$window_set_goal" "x"
ratio_line "one tick (new second) / bare repaint, CPU" \
    "$(sed -n 's/.*bare repaint, CPU: \([0-9.]*\).*/\1/p' <<<"$tick")" "$tick_goal" "x"
ratio_line "seconds shown after the true edge, 95th percentile" \
    "$(sed -n 's/.*95th percentile \([0-9.]*\) ms.*/\1/p' <<<"$edge")" "$edge_goal_ms" " ms"
ratio_line "spread of the intervals between the seconds shown" \
    "$(sed -n 's/.*spread \([0-9.]*\) ms.*/\1/p' <<<"$edge")" "$edge_spread_goal_ms" " ms"
echo "  soak: $(grep -o '(goal: none grows.*' <<<"$soak")"
exit "$soak_status"
