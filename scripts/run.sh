#!/usr/bin/env bash
# Installs what is missing, builds Tikkora.exe and starts it under Wine: on the
# display in DISPLAY if there is one, otherwise in an Xvfb of its own, where it
# takes a screenshot after a few seconds, says where it saved it, and stops.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
# The clock with its help and sounds only: the tests and the installer can wait.
"$root/scripts/build.sh" Tikkora tikkora_help

source "$root/scripts/wine-env.sh"
had_display=${DISPLAY:-}
wine_env_start "$root/build/wineprefix-run"
cd "$root/build/win/bin"
if [ -n "$had_display" ]; then
    echo "Tikkora läuft auf $DISPLAY; schließen über das Fenster oder mit Strg+C."
    wine Tikkora.exe
else
    wine Tikkora.exe &
    sleep 8
    shot="$root/build/tikkora-screenshot.png"
    import -window root "$shot"
    echo "Screenshot saved to $shot"
fi
