#!/usr/bin/env bash
# The winget manifest beside the installer, read against the installer built:
# its name, its SHA-256 (computed here), the version in its version resource,
# and what winget needs to install it silently for one user.
#   winget_manifest_test.sh <bin folder>
set -euo pipefail
dir=$1/winget failed=0
v=Tikkora.Tikkora.yaml i=Tikkora.Tikkora.installer.yaml l=Tikkora.Tikkora.locale.de-DE.yaml
# The first value of a key, as YAML reads a plain or double-quoted scalar.
value() { sed -n "s/^[ -]*$2: *//p" "$dir/$1" | head -n1 | sed 's/^"\(.*\)"$/\1/'; }
expect() { [ "$(value "$1" "$2")" = "$3" ] || { echo "FAIL: $1 $2 is \"$(value "$1" "$2")\", not \"$3\""; failed=1; }; }

url=$(value $i InstallerUrl)
setup=$1/${url##*/}
[ -f "$setup" ] || { echo "FAIL: InstallerUrl $url names no installer in $1"; exit 1; }
version=$(strings -n 3 -e l "$setup" | grep -x -A1 ProductVersion | sed -n 2p)
[ "${url##*/}" = "Tikkora-Setup-$version.exe" ] || { echo "FAIL: $url is not of version $version"; failed=1; }
for file in $v $i $l; do
    expect $file PackageIdentifier Tikkora.Tikkora
    expect $file PackageVersion "$version"
    expect $file ManifestVersion 1.6.0
done
expect $v ManifestType version
expect $v DefaultLocale de-DE
expect $i ManifestType installer
expect $i InstallerSha256 "$(sha256sum "$setup" | cut -d' ' -f1 | tr a-f A-F)"
expect $i InstallerType nullsoft
expect $i Scope user
expect $i Silent /S
expect $i SilentWithProgress /S
expect $i Architecture x86
expect $l ManifestType defaultLocale
expect $l PackageLocale de-DE
for key in Publisher PackageName License ShortDescription; do
    [ -n "$(value $l $key)" ] || { echo "FAIL: $l has no $key"; failed=1; }
done
[ $failed = 1 ] || echo "the winget manifest matches $setup, version $version"
exit $failed
