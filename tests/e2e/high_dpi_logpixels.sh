#!/usr/bin/env bash
# Runs the HighDpi end-to-end suite with the screen at 144 and 192 DPI. The DPI
# is the prefix's "LogPixels", which Wine reads at each program's start; it is
# set in a prefix and display of this script's own, so that no test running
# beside it starts a program at the wrong DPI, and set back to 96 on any exit.
#   high_dpi_logpixels.sh <bin folder> <prefix folder>
set -euo pipefail
bin=$1 prefix=$2
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/scripts/wine-env.sh"
unset DISPLAY
wine_env_start "$prefix" own
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        </dev/null >/dev/null 2>&1
}
trap 'set_dpi 96 || true; wine_env_cleanup' EXIT
failed=0
for dpi in 144 192; do
    set_dpi "$dpi"
    echo "== LogPixels $dpi"
    TIKKORA_EXPECT_DPI=$dpi wine "$bin/tikkora_e2e_tests.exe" --gtest_filter='HighDpi.*' || failed=1
done
exit $failed
