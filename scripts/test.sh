#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: the native
# unit tests of the window-free code (AddressSanitizer, UndefinedBehaviorSanitizer),
# the Windows tests under Wine and the end-to-end tests of Tikkora.exe in an
# Xvfb of their own, several at once (see below). Ends non-zero when anything
# fails. Extra arguments go to ctest.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh"

# Most of a Windows test's time is waiting (for Wine, for another process, for
# a server), so a slot, an Xvfb and a prefix of its own, per core (at most four
# prefixes to make) lets as many tests run side by side without meeting each
# other. TIKKORA_TEST_SLOTS sets another number. A new prefix takes Wine a
# while to make: that happens while the programs are built.
slots=${TIKKORA_TEST_SLOTS:-$(($(nproc) < 4 ? $(nproc) : 4))}
source "$root/scripts/wine-env.sh"
wine_env_begin_slots "$root/build/wineprefix" "$slots"
"$root/scripts/build.sh"

echo "== native unit tests"
(cd "$root/build/native" && ctest --output-on-failure "$@")

echo "== Windows and end-to-end tests under Wine"
wine_env_finish_slots
spec=$root/build/win/wine-slots.json
{
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"wine": ['
    for ((i = 0; i < slots; i++)); do
        printf '%s{"id": "%d", "slots": 1}' "$([ "$i" -eq 0 ] || echo ", ")" "$i"
    done
    printf ']}]}\n'
} >"$spec"
(cd "$root/build/win" && ctest --output-on-failure -j "$slots" --resource-spec-file "$spec" "$@")
