#!/usr/bin/env bash
# A release build signed with a throwaway self-signed certificate, in a folder
# of its own: Tikkora.exe, the installer and the uninstaller it writes verify
# against that certificate; the update address and key reach the program's
# header; the normal build stays unsigned.
#   signed_build_test.sh <source folder> <work folder> <normal build's bin folder>
set -euo pipefail
src=$1 work=$2 normal=$3 failed=0
mkdir -p "$work/cert"
# A new certificate each run, so the build must sign again.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tikkora Testsignatur" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/cert/key.pem" -out "$work/cert/cert.pem" 2>/dev/null
cmake -S "$src" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIKKORA_UPDATE_URL=http://127.0.0.1:8999/release \
      -DTIKKORA_RELEASE_KEY="$src/tests/fixtures/update_test_key/test-only-public.pem" \
      -DTIKKORA_SIGN_CERT="$work/cert/cert.pem" -DTIKKORA_SIGN_KEY="$work/cert/key.pem" >/dev/null
cmake --build "$work/build" -j "$(nproc)" --target Tikkora tikkora_installer >/dev/null

fail() { echo "FAIL: $*"; failed=1; }
signed() {
    osslsigncode verify -CAfile "$work/cert/cert.pem" -in "$1" >"$work/verify.log" 2>&1 &&
        echo "signed: $1" || { fail "$1 does not verify:"; sed 's/^/  /' "$work/verify.log"; }
}
unsigned() {
    ! osslsigncode extract-signature -in "$1" -out "$work/sig" >/dev/null 2>&1 &&
        echo "unsigned: $1" || fail "$1 of the normal build is signed"
    rm -f "$work/sig"
}
header=$work/build/include/tikkora_release.h
grep -qx '#define TIKKORA_BUILT_IN_UPDATE_URL "http://127.0.0.1:8999/release"' "$header" ||
    fail "no release address in $header"
grep -q 'KEY_XY 0x26,0x80,0x84,0xa5,.*,0x01,0x68,0x6a,0xd7,0x43,0xd0,0x7a,0x2d$' "$header" ||
    fail "not the test key's x and y in $header"
setup=$(ls "$work"/build/bin/Tikkora-Setup-*.exe)
signed "$work/build/bin/Tikkora.exe"
signed "$setup"
unsigned "$normal/Tikkora.exe"
unsigned "$(ls "$normal"/Tikkora-Setup-*.exe)"

# The uninstaller exists once the installer has written it; it then removes
# itself in place (_?=), so the prefix is left as it was.
if [ -z "${WINEPREFIX:-}" ]; then
    source "$src/scripts/wine-env.sh"
    wine_env_start "$src/build/wineprefix" own
fi
rm -rf "$work/install" && mkdir -p "$work/install"
wine "$setup" /S "/D=$(winepath -w "$work/install")" </dev/null 2>/dev/null
signed "$work/install/Uninstall.exe"
wine "$work/install/Uninstall.exe" /S "_?=$(winepath -w "$work/install")" </dev/null 2>/dev/null
rm -rf "$work/install"
exit $failed
