#!/usr/bin/env bash
# Signs an update folder for the clock's online update:
#   scripts/sign-update.sh <update-folder> <private-key.pem> <release-public.pem>
# The private key must be an ECDSA P-256 key, and the signature it makes must
# hold against the release's public key, the one built into the clocks.
# The folder holds versions.nf (section [Tikkora] with version, file1 and,
# for a release with notes, infos) and the files it names. The script writes
# "sha256" (the installer's SHA-256, lower-case hex), "infos_sha256" (the
# notes' SHA-256, when there are notes) and "signature" (ECDSA P-256 over
# SHA-256 of the message below, r and s as 32 bytes each, big-endian,
# lower-case hex) into the section, replacing earlier ones. The message, lines
# ending in LF, both notes values empty for a release without notes:
#   Tikkora update v2
#   section=Tikkora
#   version=<version>
#   file1=<file1>
#   sha256=<sha256>
#   infos=<infos>
#   infos_sha256=<infos_sha256>
set -euo pipefail

if [[ $# -ne 3 ]]; then
    echo "usage: $0 <update-folder> <private-key.pem> <release-public.pem>" >&2
    exit 2
fi
folder=$1
key=$2
public=$3
versions=$folder/versions.nf
section=Tikkora
[[ -f $versions ]] || { echo "no $versions" >&2; exit 1; }
[[ -f $key ]] || { echo "no key $key" >&2; exit 1; }
[[ -f $public ]] || { echo "no public key $public" >&2; exit 1; }
# The clocks check ECDSA over P-256 only: a key of another curve signs nothing they accept.
openssl ec -in "$key" -noout -text 2>/dev/null | grep -q 'ASN1 OID: prime256v1$' ||
    { echo "$key is no ECDSA P-256 private key" >&2; exit 1; }
openssl ec -pubin -in "$public" -noout -text 2>/dev/null | grep -q 'ASN1 OID: prime256v1$' ||
    { echo "$public is no ECDSA P-256 public key" >&2; exit 1; }

# The value of a key in the section, as the program's profile reading sees a
# plain value: blanks around it dropped. Quoted values are refused below.
value() {
    awk -v want="$1" -v section="$section" '
        { sub(/\r$/, "") }
        /^[ \t]*\[/ { line = $0; gsub(/^[ \t]*\[|\][ \t]*$/, "", line); inside = (tolower(line) == tolower(section)); next }
        inside {
            eq = index($0, "="); if (eq == 0) next
            name = substr($0, 1, eq - 1); gsub(/^[ \t]+|[ \t]+$/, "", name)
            if (tolower(name) != tolower(want) || found) next
            v = substr($0, eq + 1); gsub(/^[ \t]+|[ \t]+$/, "", v); print v; found = 1
        }' "$versions"
}

# A name the program takes as a plain file name: no path, no characters
# Windows refuses, no trailing dot or blank, no device name.
plain_name() {
    local name=$1 stem
    [[ -n $name && ${#name} -le 200 && $name != *[/\\:*?\"\<\>\|]* && $name != *..* ]] || return 1
    [[ $name != *[.\ ] && ! $name =~ [[:cntrl:]] ]] || return 1
    stem=${name%%.*}
    stem=${stem%"${stem##*[! ]}"}
    [[ ! ${stem,,} =~ ^(con|prn|aux|nul|(com|lpt)([1-9]|¹|²|³)|conin\$|conout\$)$ ]]
}

version=$(value version)
file1=$(value file1)
infos=$(value infos)
[[ -n $version ]] || { echo "versions.nf: no version in [$section]" >&2; exit 1; }
names=("$file1")
[[ -z $infos ]] || names+=("$infos")
for name in "${names[@]}"; do
    plain_name "$name" || { echo "versions.nf: \"$name\" is no plain file name" >&2; exit 1; }
    [[ -f $folder/$name ]] || { echo "no $folder/$name" >&2; exit 1; }
done
case "$version$file1$infos" in *\"*|*\'*) echo "versions.nf: quoted values are not signed" >&2; exit 1 ;; esac

sha256_of() { openssl dgst -sha256 -r "$1" | cut -d' ' -f1; }
hash=$(sha256_of "$folder/$file1")
infos_hash=
[[ -z $infos ]] || infos_hash=$(sha256_of "$folder/$infos")
message=$(mktemp)
der=$(mktemp)
trap 'rm -f "$message" "$der" "$versions.new"' EXIT
printf 'Tikkora update v2\nsection=%s\nversion=%s\nfile1=%s\nsha256=%s\ninfos=%s\ninfos_sha256=%s\n' \
    "$section" "$version" "$file1" "$hash" "$infos" "$infos_hash" >"$message"
openssl dgst -sha256 -sign "$key" -out "$der" "$message"
# The DER signature holds r and s as integers; the program wants each as 32 bytes.
signature=$(openssl asn1parse -inform DER -in "$der" |
    awk -F: '/INTEGER/ { v = $NF; while (length(v) > 64 && substr(v, 1, 2) == "00") v = substr(v, 3);
                         while (length(v) < 64) v = "0" v; printf "%s", tolower(v) }')
[[ ${#signature} -eq 128 ]] || { echo "unexpected signature from openssl" >&2; exit 1; }
# Checked against the key the clocks trust, not the one it was made with.
openssl dgst -sha256 -verify "$public" -signature "$der" "$message" >/dev/null ||
    { echo "the signature does not hold against $public: not the release's private key" >&2; exit 1; }

# Rewrites the section without earlier hash and signature lines, adding the new ones after it.
awk -v section="$section" -v hash="$hash" -v infos_hash="$infos_hash" -v sig="$signature" '
    function flush() {
        if (inside && !done) {
            print "sha256=" hash "\r"
            if (infos_hash != "") print "infos_sha256=" infos_hash "\r"
            print "signature=" sig "\r"; done = 1
        }
    }
    { sub(/\r$/, "") }
    /^[ \t]*\[/ { flush(); line = $0; gsub(/^[ \t]*\[|\][ \t]*$/, "", line); inside = (tolower(line) == tolower(section)); print $0 "\r"; next }
    inside && /^[ \t]*(sha256|infos_sha256|signature)[ \t]*=/ { next }
    inside && /^[ \t]*$/ { flush(); print "\r"; next }
    { print $0 "\r" }
    END { flush() }' "$versions" >"$versions.new"
mv "$versions.new" "$versions"
echo "signed $versions: version=$version file1=$file1 sha256=$hash infos=$infos infos_sha256=$infos_hash"
