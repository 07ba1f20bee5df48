# Sourced by the scripts that run Windows programs: gives them a display (the
# caller's, or an Xvfb of our own) and a Wine prefix of their own, and stops
# both again on exit. Returns non-zero with a message on standard error when
# either cannot be had, so a caller under `set -e` stops there instead of
# running every test against no display.
#   wine_env_start PREFIX-FOLDER [own-display]
#   wine_env_start_slots PREFIX-FOLDER COUNT
wine_env_cleanup() {
    local prefix pid
    for prefix in ${TIKKORA_WINE_PREFIXES[@]+"${TIKKORA_WINE_PREFIXES[@]}"}; do
        WINEPREFIX=$prefix wineserver -k >/dev/null 2>&1 || true
        WINEPREFIX=$prefix wineserver -w >/dev/null 2>&1 || true
    done
    TIKKORA_WINE_PREFIXES=()
    for pid in ${TIKKORA_XVFB_PIDS[@]+"${TIKKORA_XVFB_PIDS[@]}"}; do
        kill "$pid" >/dev/null 2>&1 || true
        wait "$pid" 2>/dev/null || true
    done
    TIKKORA_XVFB_PIDS=()
    TIKKORA_XVFB_PID=""
}

# Xvfb picks a free display number itself and writes it once it accepts
# connections; choosing one here could race with another run doing the same.
wine_env_start_xvfb() {
    local log ready
    log=$(mktemp)
    ready=$(mktemp)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$ready" >"$log" 2>&1 &
    TIKKORA_XVFB_PID=$!
    TIKKORA_XVFB_PIDS+=("$TIKKORA_XVFB_PID")
    for _ in $(seq 100); do
        [ -s "$ready" ] && break
        kill -0 "$TIKKORA_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if [ ! -s "$ready" ]; then
        echo "wine-env: Xvfb did not come up; its output:" >&2
        sed 's/^/  /' "$log" >&2
        rm -f "$log" "$ready"
        wine_env_cleanup
        return 1
    fi
    export DISPLAY=":$(head -n1 "$ready")"
    rm -f "$log" "$ready"
}

wine_env_variables() {
    export WINEDEBUG=-all
    # No debugger for a crashing program: it would wait there, holding the
    # test's output, until the time-out instead of failing at once. No menu
    # builder: a Start-menu shortcut would write desktop entries outside the
    # prefix that no uninstall removes.
    export WINEDLLOVERRIDES="mscoree,mshtml=;winedbg.exe=d;winemenubuilder.exe=d"
    export WINEARCH=win32
}

# Makes the prefix WINEPREFIX names when it has none yet.
wine_env_make_prefix() {
    local own_display=$1
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        local log
        log=$(mktemp)
        { mkdir -p "$WINEPREFIX" && wineboot -i && wineserver -w; } >"$log" 2>&1 || true
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "wine-env: could not make the Wine prefix $WINEPREFIX; wineboot said:" >&2
            sed 's/^/  /' "$log" >&2
            rm -f "$log"
            return 1
        fi
        rm -f "$log"
    fi
    # A test prefix has no window manager to talk to (Xvfb has none), and Wine
    # waits about 2 s for one to withdraw every framed window it hides: each
    # closing message box and dialog. Unmanaged windows are hidden at once.
    if [ -n "$own_display" ] && [ ! -f "$WINEPREFIX/.unmanaged" ]; then
        wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 &&
            wineserver -w && touch "$WINEPREFIX/.unmanaged"
    fi
}

# The prefix's own processes (services, the desktop) start with the first
# program and inherit its output, and ctest waits for every holder of a
# test's output, which they let go only seconds after the last program.
# Started here without output and kept up by a persistent server until the
# cleanup, they cost a test program nothing (0.2 s a ctest entry, not 2.7 s).
wine_env_keep_up() {
    if ! wineserver -p || ! wine cmd.exe /c exit </dev/null >/dev/null 2>&1; then
        echo "wine-env: Wine does not start in the prefix $WINEPREFIX" >&2
        return 1
    fi
}

wine_env_start() {
    local prefix=$1 own_display=${2:-}
    wine_env_variables
    export WINEPREFIX=$prefix
    TIKKORA_WINE_PREFIXES+=("$prefix")
    if [ -z "${DISPLAY:-}" ] || [ -n "$own_display" ]; then
        wine_env_start_xvfb || return 1
    fi
    trap wine_env_cleanup EXIT
    if ! wine_env_make_prefix "$own_display" || ! wine_env_keep_up; then
        wine_env_cleanup
        return 1
    fi
}

# COUNT slots, each a display and a prefix of its own (PREFIX-FOLDER, then
# PREFIX-FOLDER-2, ...), so that as many test programs run side by side without
# seeing each other's windows, focus, registry or Wine server. Slot N is
# exported as TIKKORA_WINE_DISPLAY_N and TIKKORA_WINE_PREFIX_N, and slot 0 is
# also the caller's DISPLAY and WINEPREFIX. New prefixes are made side by side.
wine_env_start_slots() {
    wine_env_begin_slots "$@" && wine_env_finish_slots
}

# The first half: the displays up, and the prefixes being made in the
# background, so that a caller can build meanwhile.
wine_env_begin_slots() {
    local base=$1 count=$2 i
    TIKKORA_SLOT_DISPLAYS=() TIKKORA_SLOT_PREFIXES=() TIKKORA_SLOT_MAKERS=()
    wine_env_variables
    trap wine_env_cleanup EXIT
    for ((i = 0; i < count; i++)); do
        TIKKORA_SLOT_PREFIXES[i]=$base
        [ "$i" -eq 0 ] || TIKKORA_SLOT_PREFIXES[i]=$base-$((i + 1))
        TIKKORA_WINE_PREFIXES+=("${TIKKORA_SLOT_PREFIXES[i]}")
        wine_env_start_xvfb || return 1
        TIKKORA_SLOT_DISPLAYS[i]=$DISPLAY
    done
    for ((i = 0; i < count; i++)); do
        (export DISPLAY=${TIKKORA_SLOT_DISPLAYS[i]} WINEPREFIX=${TIKKORA_SLOT_PREFIXES[i]} &&
            wine_env_make_prefix own) &
        TIKKORA_SLOT_MAKERS[i]=$!
    done
}

# The second half: waits for the prefixes and hands out the slots.
wine_env_finish_slots() {
    local i
    for ((i = 0; i < ${#TIKKORA_SLOT_MAKERS[@]}; i++)); do
        local display=${TIKKORA_SLOT_DISPLAYS[i]} prefix=${TIKKORA_SLOT_PREFIXES[i]}
        if ! wait "${TIKKORA_SLOT_MAKERS[i]}" ||
            ! (export DISPLAY=$display WINEPREFIX=$prefix && wine_env_keep_up); then
            wine_env_cleanup
            return 1
        fi
        export "TIKKORA_WINE_DISPLAY_$i=$display" "TIKKORA_WINE_PREFIX_$i=$prefix"
    done
    export DISPLAY=${TIKKORA_SLOT_DISPLAYS[0]} WINEPREFIX=${TIKKORA_SLOT_PREFIXES[0]}
    TIKKORA_XVFB_PID=${TIKKORA_XVFB_PIDS[0]}
}

# The Wine server of this prefix (for measuring its CPU): it works in a folder
# named after the prefix's device and inode, in hexadecimal.
wine_server_pid() {
    local tag p
    tag=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
    for p in $(pgrep "^wineserver"); do
        if [ "$(basename "$(readlink "/proc/$p/cwd")")" = "$tag" ]; then
            echo "$p"
            return
        fi
    done
}
