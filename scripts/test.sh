#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# unit tests of the window-free code (AddressSanitizer, UndefinedBehaviorSanitizer),
# the Windows tests under Wine and the end-to-end tests of Tikkora.exe in an
# Xvfb of their own. Ends non-zero when anything fails. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh"

echo "== native unit tests"
(cd "$root/build/native" && ctest --output-on-failure "$@")

echo "== Windows and end-to-end tests under Wine"
source "$root/scripts/wine-env.sh"
wine_env_start "$root/build/wineprefix" own
(cd "$root/build/win" && ctest --output-on-failure "$@")
