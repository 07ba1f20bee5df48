#!/usr/bin/env bash
# Runs one test command in the Wine slot ctest gave it (scripts/test.sh makes
# the slots and hands ctest their list): the slot's display and prefix.
#   wine-slot.sh COMMAND [ARGS]
# Run by a ctest without the list, it runs in the caller's display and prefix,
# one command at a time there, so that a `ctest -j` cannot put two test
# programs into one prefix.
set -euo pipefail
slot=${CTEST_RESOURCE_GROUP_0_WINE:-}
if [ -n "$slot" ]; then
    slot=${slot#id:}
    slot=${slot%%,*}
    display=TIKKORA_WINE_DISPLAY_$slot
    prefix=TIKKORA_WINE_PREFIX_$slot
    export DISPLAY=${!display} WINEPREFIX=${!prefix}
    exec "$@"
fi
if [ -n "${WINEPREFIX:-}" ] && [ -d "$WINEPREFIX" ]; then
    exec flock "$WINEPREFIX/.test-lock" "$@"
fi
exec "$@"
