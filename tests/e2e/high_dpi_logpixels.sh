#!/usr/bin/env bash
# Runs the HighDpi end-to-end suite with the screen at 144 and 192 DPI. The DPI
# is the prefix's "LogPixels", which Wine reads at each program's start; the
# test has its slot's prefix to itself, and sets it back to 96 on any exit.
#   high_dpi_logpixels.sh <bin folder>
set -euo pipefail
bin=$1
set_dpi() {
    wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$1" /f \
        </dev/null >/dev/null 2>&1
}
trap 'set_dpi 96 || true' EXIT
failed=0
for dpi in 144 192; do
    set_dpi "$dpi"
    echo "== LogPixels $dpi"
    TIKKORA_EXPECT_DPI=$dpi wine "$bin/tikkora_e2e_tests.exe" --gtest_filter='HighDpi.*' || failed=1
done
exit $failed
