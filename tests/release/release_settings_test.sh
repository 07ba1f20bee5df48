#!/usr/bin/env bash
# What a release is refused: the release settings of the configure, run on
# their own, and the signing script, each with one thing wrong.
#   release_settings_test.sh <source folder> <work folder>
set -euo pipefail
src=$1 work=$2/release-settings-test failed=0
rm -rf "$work" && mkdir -p "$work" && cd "$work"
keys=$src/tests/fixtures/update_test_key
p256() { openssl ecparam -name "$1" -genkey -noout -out "$2.key" 2>/dev/null
         openssl ec -in "$2.key" -pubout -out "$2.pem" 2>/dev/null; }
p256 prime256v1 release && p256 secp384r1 p384 && p256 secp256k1 k256
configure() { cmake -DTIKKORA_UPDATE_URL="$1" -DTIKKORA_RELEASE_KEY="$2" \
                    -P "$src/cmake/release_settings.cmake" >/dev/null 2>&1; }
expect() { # expect ok|refused what command...
    local want=$1 what=$2 got=ok; shift 2
    "$@" || got=refused
    [ "$got" = "$want" ] && echo "$want: $what" || { echo "FAIL: $what was $got"; failed=1; }
}
expect ok "a release" configure http://127.0.0.1:8999/release release.pem
expect refused "the tests' key" configure http://127.0.0.1:8999/release "$keys/test-only-public.pem"
expect refused "a P-384 key" configure http://127.0.0.1:8999/release p384.pem
# The tests' key with y negated: the same x, and its private key is n - d of the tests'.
hex=$(openssl ec -pubin -in "$keys/test-only-public.pem" -conv_form compressed -outform DER \
      2>/dev/null | od -An -tx1 -v | tr -d ' \n')
[ "${hex:52:2}" = 02 ] && parity=03 || parity=02
printf "$(sed 's/../\\x&/g' <<<"${hex:0:52}$parity${hex:54}")" |
    openssl ec -pubin -inform DER -conv_form uncompressed -pubout -out negated.pem 2>/dev/null
expect refused "the tests' key negated" configure http://127.0.0.1:8999/release negated.pem
for url in http://h:0/x http://h:99999/x http://-/x http://update.example./x \
           http://update.EXAMPLE/x http://h.invalid/x http://999.999.999.999/x http://0.0.0.0/x; do
    expect refused "$url" configure "$url" release.pem
done
mkdir site && printf 'x' >site/Setup.exe
printf '[Tikkora]\r\nversion=3.0\r\nfile1=Setup.exe\r\n' >site/versions.nf
sign() { bash "$src/scripts/sign-update.sh" site "$1" "$2" >/dev/null 2>&1; }
expect ok "signing with the release key" sign release.key release.pem
expect refused "a secp256k1 key" sign k256.key k256.pem
expect refused "a key that is not the release's" sign "$keys/test-only-private.pem" release.pem
exit $failed
