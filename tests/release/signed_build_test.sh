#!/usr/bin/env bash
# A release build signed with a throwaway self-signed certificate, in a build
# folder of its own: Tikkora.exe, the installer and the uninstaller it writes
# verify against that certificate; the update address and key reach the
# program's header; the normal build stays unsigned.
#   signed_build_test.sh <source folder> <signed build folder> <normal build's bin folder>
# The signed build compiles through the normal build's compiler launcher
# (ccache), whose cache gives it the objects the two builds share; its folder
# lies beside the normal one, at the same depth, for the cached paths to match.
set -euo pipefail
src=$1 build=$2 normal=$3 failed=0
work=$build/signing-test
mkdir -p "$work/cert"
# A new certificate each run, so the build must sign again.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Tikkora Testsignatur" \
    -addext extendedKeyUsage=codeSigning -keyout "$work/cert/key.pem" -out "$work/cert/cert.pem" 2>/dev/null
# A release key of its own too: the build refuses the tests' key, whose private half is public.
# Kept between runs: a new one would compile the program again.
[ -s "$work/cert/release.pem" ] || openssl ecparam -name prime256v1 -genkey -noout 2>/dev/null |
    openssl ec -pubout -out "$work/cert/release.pem" 2>/dev/null
xy=$(openssl pkey -pubin -in "$work/cert/release.pem" -outform DER | od -An -v -tx1 | tr -d ' \n' | cut -c55-)
launcher=()
for lang in C CXX; do
    value=$(sed -n "s/^CMAKE_${lang}_COMPILER_LAUNCHER:[A-Z]*=//p" "$normal/../CMakeCache.txt" 2>/dev/null || true)
    [ -z "$value" ] || launcher+=("-DCMAKE_${lang}_COMPILER_LAUNCHER=$value")
done
cmake -S "$src" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-w64-i686.cmake" \
      -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTIKKORA_UPDATE_URL=http://127.0.0.1:8999/release \
      -DTIKKORA_RELEASE_KEY="$work/cert/release.pem" \
      -DTIKKORA_SIGN_CERT="$work/cert/cert.pem" -DTIKKORA_SIGN_KEY="$work/cert/key.pem" \
      "${launcher[@]}" >/dev/null
# The resource generator runs on the build machine and knows nothing of
# signing: the normal build's is taken (its time kept, so it counts as built).
if [ -x "$normal/../host/resgen" ] && [ ! -e "$build/host/resgen" ]; then
    mkdir -p "$build/host" && cp -p "$normal/../host/resgen" "$build/host/resgen"
fi
# It runs beside the tests of windows and input, which must not starve for it.
nice -n 15 cmake --build "$build" -j "$(nproc)" --target Tikkora tikkora_installer >/dev/null

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
header=$build/include/tikkora_release.h
grep -qx '#define TIKKORA_BUILT_IN_UPDATE_URL "http://127.0.0.1:8999/release"' "$header" ||
    fail "no release address in $header"
grep -qx "#define TIKKORA_RELEASE_KEY_XY $(sed 's/../0x&,/g; s/,$//' <<<"$xy")" "$header" ||
    fail "not the release key's x and y in $header"
setup=$(ls "$build"/bin/Tikkora-Setup-*.exe)
signed "$build/bin/Tikkora.exe"
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
