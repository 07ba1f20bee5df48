#!/usr/bin/env bash
# Runs one Windows program under Wine in the test prefix and an Xvfb of its own:
#   scripts/wine-run.sh build/win/bin/tikkora_win_tests.exe --gtest_filter='Settings*'
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
source "$root/scripts/wine-env.sh"
wine_env_start "${TIKKORA_WINEPREFIX:-$root/build/wineprefix}" own
wine "$@"
