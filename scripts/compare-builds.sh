#!/usr/bin/env bash
# Compares two revisions of the clock as a user sees them:
#   scripts/compare-builds.sh OLD-REV NEW-REV
# Builds Tikkora.exe of each revision in a throwaway worktree under the work
# folder (a build already there is reused), then starts the old and the new
# program side by side, each in an Xvfb and a Wine prefix of its own, from the
# same Tikkora.ini, for each of the start states below. It shoots both screens
# at the same moment, twice, and counts the differing pixels with
# `compare -metric AE`; it records every write to the settings file (Wine's
# profile trace) during the start and the close, and during a fixed sequence of
# menu commands, and diffs old against new. The PNGs stay in the run's folder.
# Exits 0 when every screen is identical and every write the same.
#   TIKKORA_COMPARE_DIR  work folder (default /tmp/tikkora-compare)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
[ $# -eq 2 ] || { sed -n '2,3p' "$0" >&2; exit 2; }
work=${TIKKORA_COMPARE_DIR:-/tmp/tikkora-compare}
run="$work/run-$(date -u +%Y%m%d-%H%M%S)"
mkdir -p "$run"
sides="old new"

# ---------------------------------------------------------------- building
build_revision() {
    local rev=$1 sha tree
    sha=$(git -C "$root" rev-parse --verify "$rev^{commit}")
    tree="$work/tree-${sha:0:12}"
    if [ ! -f "$tree/build/win/bin/Tikkora.exe" ]; then
        [ -d "$tree" ] || git -C "$root" worktree add --detach "$tree" "$sha" >/dev/null 2>&1
        # cmake directly: older revisions' build script builds every target.
        if ! { cmake -S "$tree" -B "$tree/build/win" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
                   -DCMAKE_TOOLCHAIN_FILE="$tree/cmake/mingw-w64-i686.cmake" &&
               cmake --build "$tree/build/win" -j "$(nproc)" --target Tikkora; } \
                >"$tree.build.log" 2>&1; then
            echo "compare-builds: building $rev failed; the end of $tree.build.log:" >&2
            tail -20 "$tree.build.log" >&2
            return 1
        fi
    fi
    echo "$tree/build/win/bin"
}

declare -A bin rev_name
rev_name[old]=$1
rev_name[new]=$2
for side in $sides; do
    echo "Building Tikkora.exe of ${rev_name[$side]} ..."
    bin[$side]=$(build_revision "${rev_name[$side]}")
done

# ------------------------------------------------- two screens, two prefixes
# Each side is a shell of its own that holds an Xvfb and a Wine prefix (with
# the test prefix's set-up, Managed=N included) until its stop file appears.
declare -A side_shell display launched
start_side() {
    local side=$1
    (
        source "$root/scripts/wine-env.sh"
        wine_env_start "$run/prefix-$side" own
        declare -p DISPLAY WINEPREFIX WINEARCH WINEDLLOVERRIDES | sed 's/^declare -x/export/' \
            >"$run/env-$side.tmp"
        mv "$run/env-$side.tmp" "$run/env-$side"
        while [ ! -e "$run/stop-$side" ]; do sleep 0.2; done
    ) </dev/null >"$run/side-$side.log" 2>&1 &
    side_shell[$side]=$!
}

stop_all() {
    local side pid
    for pid in "${launched[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for side in $sides; do
        touch "$run/stop-$side"
    done
    for side in $sides; do
        [ -n "${side_shell[$side]:-}" ] && wait "${side_shell[$side]}" 2>/dev/null || true
    done
    # 600 MB each, and no use once their servers are down.
    rm -rf "$run/prefix-old" "$run/prefix-new"
}
trap stop_all EXIT

echo "Making two Wine prefixes and screens ..."
for side in $sides; do
    start_side "$side"
done
for side in $sides; do
    while [ ! -f "$run/env-$side" ]; do
        if ! kill -0 "${side_shell[$side]}" 2>/dev/null; then
            echo "compare-builds: the $side side did not start:" >&2
            cat "$run/side-$side.log" >&2
            exit 1
        fi
        sleep 0.2
    done
    display[$side]=$(source "$run/env-$side" && echo "$DISPLAY")
done

# ----------------------------------------------------------- the programs
# A folder with the side's program, its sound and the state's settings file.
prepare() {
    local folder=$1 side=$2 settings=$3
    mkdir -p "$folder"
    cp "${bin[$side]}/Tikkora.exe" "${bin[$side]}/Tikkora.wav" "$folder/"
    [ "$settings" = "-" ] || printf '%b' "$settings" >"$folder/Tikkora.ini"
}

launch() {
    local folder=$1 side=$2
    (source "$run/env-$side" && cd "$folder" && WINEDEBUG=+profile exec wine Tikkora.exe) \
        </dev/null >/dev/null 2>"$folder/trace.txt" &
    launched[$side]=$!
}

# The visible windows of the program on a side, one "id WxH+X+Y" a line.
windows_of() {
    local side=$1 id
    for id in $(DISPLAY=${display[$side]} xdotool search --onlyvisible --class tikkora.exe 2>/dev/null); do
        DISPLAY=${display[$side]} xwininfo -id "$id" 2>/dev/null |
            awk -v id="$id" '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF}
                /Width:/ {w=$NF} /Height:/ {h=$NF}
                END {if (w > 1 && h > 1) printf "%s %dx%d%+d%+d\n", id, w, h, x, y}'
    done
}
# The first of them: the main window, unless a menu or box is open.
main_window() { windows_of "$1" | awk 'NR == 1 {print $2}'; }

# Waits (up to seconds) until the side shows count windows or more.
wait_windows() {
    local side=$1 count=$2 seconds=$3 i
    for i in $(seq $((seconds * 10))); do
        [ "$(windows_of "$side" | wc -l)" -ge "$count" ] && return 0
        sleep 0.1
    done
    return 1
}

# Both screens at the same moment, 0.6 s into the next second: the clock
# ticks every 250 ms, so both show that second by then.
shoot_both() {
    local prefix=$1 now side shots=()
    now=$(date +%s.%N)
    sleep "$(awk -v t="$now" 'BEGIN {printf "%.3f", int(t) + 1.6 - t}')"
    for side in $sides; do
        DISPLAY=${display[$side]} import -window root "$prefix-$side.png" &
        shots+=($!)
    done
    wait "${shots[@]}"
}

# Differing pixels of two shots, the difference picture beside them; a
# comparison that fails says so instead of giving a number.
differing_pixels() {
    local prefix=$1 ae
    ae=$(compare -metric AE "$prefix-old.png" "$prefix-new.png" "$prefix-diff.png" 2>&1 >/dev/null) || true
    if [[ $ae =~ ^[0-9]+$ ]]; then echo "$ae"; else echo "compare-failed"; fi
}

# Two pairs of shots: a pair can fall on either side of a second's change
# where the other does not. The smaller count comes first, then both.
compare_screens() {
    local prefix=$1 a b
    shoot_both "$prefix-1"
    a=$(differing_pixels "$prefix-1")
    shoot_both "$prefix-2"
    b=$(differing_pixels "$prefix-2")
    if [[ ! $a$b =~ ^[0-9]+$ ]]; then
        echo "failed ($a, $b)"
    elif [ "$a" -le "$b" ]; then
        echo "$a ($a, $b)"
    else
        echo "$b ($a, $b)"
    fi
}

# Opens the context menu as a user does and types keys into it; false when no
# menu came. A right click on the window's centre opens it; where that does
# not, the drop-down button at the lower left does.
menu() {
    local side=$1 geometry count w h x y
    shift
    geometry=$(main_window "$side")
    [ -n "$geometry" ] || return 1
    count=$(windows_of "$side" | wc -l)
    IFS='x+' read -r w h x y <<<"${geometry//-/+-}"
    DISPLAY=${display[$side]} xdotool mousemove $((x + w / 2)) $((y + h / 2)) click 3
    # A window with no style applied is wide and empty beside its digits.
    if ! wait_windows "$side" $((count + 1)) 2 && [ "$w" -gt 154 ]; then
        DISPLAY=${display[$side]} xdotool mousemove $((x + 77)) $((y + h / 2)) click 3
    fi
    if ! wait_windows "$side" $((count + 1)) 2; then
        DISPLAY=${display[$side]} xdotool mousemove $((x + 12)) $((y + h - 11)) mousedown 1
        wait_windows "$side" $((count + 1)) 3 || true
        DISPLAY=${display[$side]} xdotool mouseup 1
        wait_windows "$side" $((count + 1)) 1 || return 1
    fi
    DISPLAY=${display[$side]} xdotool key --delay 30 "$@"
}

# Moves the mouse to a corner no state puts the window in: it must not
# light up anything in the shots.
mouse_away() {
    local side
    for side in $sides; do
        DISPLAY=${display[$side]} xdotool mousemove 0 767
    done
}

# The settings writes in a trace from line first on, without thread ids and
# with the file's folder named alike for both sides.
writes_since() {
    local trace=$1 first=$2
    tail -n +"$first" "$trace" | grep 'trace:profile:Write' |
        sed -E 's/^[0-9a-f]+:trace:profile://; s/L"[^"]*\\\\Tikkora\.ini"/Tikkora.ini/' || true
}

wait_exit() {
    local side=$1 i
    for i in $(seq 100); do
        if ! kill -0 "${launched[$side]}" 2>/dev/null; then
            unset "launched[$side]"
            return 0
        fi
        sleep 0.1
    done
    kill "${launched[$side]}" 2>/dev/null || true
    unset "launched[$side]"
    echo "(did not end within 10 s; killed)" >>"$2"
}

# ----------------------------------------------------------- start states
# name|settings file ("-": none). Alarm: 12 hours from now, so it never rings.
alarm="[Wecker]\r\nStunde=$(printf %02d $(((10#$(date +%H) + 12) % 24)))\r\nMinute=30\r\nAktiv=1\r\n"
states=(
    "no-settings-file|-"
    "lcd|[Clock]\r\nDisplay=LCD\r\n"
    "lcd-lit|[Clock]\r\nDisplay=LCDBeleuchtet\r\n"
    "led-green|[Clock]\r\nDisplay=LEDGruen\r\n"
    "led-red|[Clock]\r\nDisplay=LEDRot\r\n"
    "led-matrix|[Clock]\r\nDisplay=LEDMatrix\r\n"
    "flip-digits|[Clock]\r\nDisplay=Klappziffer\r\n"
    "display-name-lower-case|[Clock]\r\nDisplay=lcd\r\n"
    "standard-digital-alarm|[Clock]\r\nStyle=Standard\r\nAnalog=0\r\nDisplay=LEDRot\r\n$alarm"
    "standard-analog-alarm|[Clock]\r\nStyle=Standard\r\nAnalog=1\r\nDisplay=LEDRot\r\n$alarm"
    "mini-digital|[Clock]\r\nStyle=Mini\r\nAnalog=0\r\nDisplay=LCDBeleuchtet\r\n$alarm"
    "mini-analog|[Clock]\r\nStyle=Mini\r\nAnalog=1\r\nDisplay=LCDBeleuchtet\r\n$alarm"
    "taskbar-no-taskbar|[Clock]\r\nStyle=Taskbar\r\nAnalog=1\r\nUhrposX=250\r\nUhrposY=180\r\n"
    "unknown-style|[Clock]\r\nStyle=Gross\r\nDisplay=LEDMatrix\r\n"
    "status-back|[Clock]\r\nStatus=Back\r\nDisplay=Klappziffer\r\n"
    "off-screen-right-below|[Clock]\r\nUhrposX=5000\r\nUhrposY=3000\r\n"
    "off-screen-left-above|[Clock]\r\nUhrposX=-500\r\nUhrposY=-300\r\nStyle=Mini\r\n"
)

report="$run/report.txt"
: >"$report"
say() { echo "$*" | tee -a "$report"; }
all_same=1

say "Old: ${rev_name[old]} ($(git -C "$root" rev-parse --short "${rev_name[old]}"))" \
    " New: ${rev_name[new]} ($(git -C "$root" rev-parse --short "${rev_name[new]}"))"
say "Start states (${#states[@]}):"
for i in "${!states[@]}"; do
    IFS='|' read -r name settings <<<"${states[$i]}"
    say "$(printf '  %2d %-24s %s' $((i + 1)) "$name" "${settings//\\r\\n/ }")"
done
say ""
row() { say "$(printf '%-26s %-16s %-16s %-22s %s' "$@")"; }
row "state" "old window" "new window" "differing pixels" "settings writes"

# After a start or a command: the screens settle with the mouse out of the
# way, then the windows' places are read.
declare -A geometry
settle() {
    local side
    mouse_away
    sleep 1.5
    for side in $sides; do
        geometry[$side]=$(main_window "$side")
    done
}

# Starts both programs in folder/old and folder/new from one settings file
# and waits for their windows to settle.
start_both() {
    local folder=$1 settings=$2 side
    for side in $sides; do
        prepare "$folder/$side" "$side" "$settings"
        launch "$folder/$side" "$side"
    done
    for side in $sides; do
        wait_windows "$side" 1 20 || true
    done
    settle
}

# One row of the table: name, pixels ("-" for none), both sides' writes and
# where their diff goes.
result() {
    local name=$1 pixels=$2 writes="same writes"
    if ! diff -u "$3" "$4" >"$5"; then
        writes="DIFFERENT (see below)"
        all_same=0
    fi
    [ "${pixels%% *}" = 0 ] || [ "$pixels" = - ] || all_same=0
    row "$name" "${geometry[old]:-none}" "${geometry[new]:-none}" "$pixels" "$writes"
}

# Runs one state on both sides: start, screens, close; writes compared.
run_state() {
    local number=$1 name=$2 settings=$3 dir side pixels
    dir="$run/$(printf %02d "$number")-$name"
    start_both "$dir" "$settings"
    pixels=$(compare_screens "$dir/shot")
    for side in $sides; do
        menu "$side" s || echo "(no menu came to close it)" >>"$dir/$side/writes.txt"
    done
    for side in $sides; do
        wait_exit "$side" "$dir/$side/writes.txt"
        writes_since "$dir/$side/trace.txt" 1 >>"$dir/$side/writes.txt"
        echo "--- the file at the end:" >>"$dir/$side/writes.txt"
        tr -d '\r' <"$dir/$side/Tikkora.ini" >>"$dir/$side/writes.txt" 2>/dev/null || true
    done
    result "$name" "$pixels" "$dir/old/writes.txt" "$dir/new/writes.txt" "$dir/writes.diff"
}

for i in "${!states[@]}"; do
    IFS='|' read -r name settings <<<"${states[$i]}"
    run_state $((i + 1)) "$name" "$settings"
done

# ------------------------------------------------------- menu commands
# From no settings file, one command after another; the keys walk the menu
# (Down n+1 times picks the n-th item, separators skipped) or press an
# item's underlined letter. Keys after "box:" go to the open message box.
down() { local n=$1 k=(); for _ in $(seq $((n + 1))); do k+=(Down); done; echo "${k[*]} Return"; }
steps=(
    "Analoguhr an|$(down 3)"
    "Mini|m"
    "Analoguhr aus|a"
    "Analoguhr an (Mini)|a"
    "Standard|$(down 4)"
    "Analoguhr aus (Standard)|a"
    "Immer im Vordergrund aus|i"
    "Immer im Vordergrund an|i"
    "LCD -Display bel.|$(down 8)"
    "LED -Display Gruen|$(down 9)"
    "LED -Display Rot|$(down 10)"
    "LED -Punktmatrix|$(down 11)"
    "Klappziffer -Display|$(down 12)"
    "LCD -Display|$(down 7)"
    "Auto -Update aus|$(down 16)"
    "Auto -Update an|$(down 16)"
    "In die Taskleiste (keine da)|t"
    "OK im Hinweis|box: Return"
    "Standard|$(down 4)"
    "Uhr schliessen|s"
)
say ""
say "Menu commands, from no settings file:"
row "step" "old window" "new window" "differing pixels" "settings writes"
dir="$run/menu"
start_both "$dir" "-"
declare -A mark
for side in $sides; do
    mark[$side]=$(($(wc -l <"$dir/$side/trace.txt") + 1))
done
for i in "${!steps[@]}"; do
    IFS='|' read -r step keys <<<"${steps[$i]}"
    stepdir="$dir/$(printf %02d $((i + 1)))"
    mkdir -p "$stepdir"
    for side in $sides; do
        # shellcheck disable=SC2086 # the keys are words
        if [ "${keys#box: }" != "$keys" ]; then
            DISPLAY=${display[$side]} xdotool key --delay 30 ${keys#box: }
        else
            menu "$side" $keys || echo "(no menu came)" >"$stepdir/writes-$side.txt"
        fi
    done
    settle
    pixels="-"
    if [ "$step" != "Uhr schliessen" ]; then
        pixels=$(compare_screens "$stepdir/shot")
    else
        for side in $sides; do
            wait_exit "$side" "$stepdir/writes-$side.txt"
        done
    fi
    for side in $sides; do
        writes_since "$dir/$side/trace.txt" "${mark[$side]}" >>"$stepdir/writes-$side.txt"
        mark[$side]=$(($(wc -l <"$dir/$side/trace.txt") + 1))
        { echo "--- the file after the step:"; tr -d '\r' <"$dir/$side/Tikkora.ini"; } \
            >>"$stepdir/writes-$side.txt" 2>/dev/null || true
    done
    result "$step" "$pixels" "$stepdir/writes-old.txt" "$stepdir/writes-new.txt" \
        "$stepdir/writes.diff"
done

say ""
for diff_file in "$run"/*/writes.diff "$run"/menu/*/writes.diff; do
    if [ -s "$diff_file" ]; then
        say "Writes differ in ${diff_file#"$run"/}:"
        sed 's/^/    /' "$diff_file" | tee -a "$report"
    fi
done
say "Differing pixels: the smaller of two pairs of shots, then both."
say "Shots (old, new, diff) and the writes of each side: $run"
if [ "$all_same" = 1 ]; then
    say "Result: every screen identical, same writes."
else
    say "Result: DIFFERENCES (above)."
    exit 1
fi
