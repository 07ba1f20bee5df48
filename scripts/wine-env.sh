# Sourced by the scripts that run Windows programs: gives them a display (the
# caller's, or an Xvfb of our own on a free number) and a Wine prefix of their
# own, and stops both again on exit.
#   wine_env_start PREFIX-FOLDER [own-display]
wine_env_cleanup() {
    if [ -n "${WINEPREFIX:-}" ]; then
        wineserver -k >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
    if [ -n "${TIKKORA_XVFB_PID:-}" ]; then
        kill "$TIKKORA_XVFB_PID" >/dev/null 2>&1 || true
        wait "$TIKKORA_XVFB_PID" 2>/dev/null || true
        TIKKORA_XVFB_PID=""
    fi
}

wine_env_start() {
    local prefix=$1 own_display=${2:-}
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win32
    export WINEPREFIX=$prefix
    if [ -z "${DISPLAY:-}" ] || [ -n "$own_display" ]; then
        local n=90
        while [ -e "/tmp/.X${n}-lock" ] || [ -e "/tmp/.X11-unix/X${n}" ]; do n=$((n + 1)); done
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
        TIKKORA_XVFB_PID=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do
            [ -e "/tmp/.X11-unix/X${n}" ] && break
            sleep 0.1
        done
    fi
    trap wine_env_cleanup EXIT
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        mkdir -p "$WINEPREFIX"
        wineboot -i >/dev/null 2>&1 || true
        wineserver -w >/dev/null 2>&1 || true
    fi
}
