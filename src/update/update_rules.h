#pragma once
// The online update's decisions that need no window: reading the version
// number, judging names and addresses from the server, and the text that a
// release signature covers. Tested natively.
#include "tikkora_release.h"
#include "tikkora_version.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The version of this program; the server's must be greater to be offered.
constexpr double kProgramVersion = TIKKORA_VERSION_NUMBER;
// What the versions file's "version" yields when there is no usable number.
constexpr double kNoVersion = -1.0;
// The versions file's section is named after the application title.
constexpr const char* kVersionsSection = "Tikkora";
// A versions file larger than this is not read at all.
constexpr std::uint64_t kMaxVersionsFileSize = 64 * 1024;
// Every transfer of the update gives up after this much silence from the server;
constexpr int kSilenceTimeOutMs = 30000;
// the versions transfer also after this long in all, however slowly the bytes keep coming.
constexpr int kVersionsDeadlineMs = 30000;
// The notes are shown only up to this size; larger ones are no notes.
constexpr std::int64_t kMaxNotesSize = 1 << 20;
// An installer whose length the server did not announce may be this large.
constexpr std::int64_t kMaxUnannouncedInstallerSize = std::int64_t{256} << 20;

// The most bytes an installer transfer may bring: the length the server
// announced, or the cap when it announced none.
std::int64_t InstallerByteLimit(std::int64_t announced);
// Names from the server longer than this are refused.
constexpr std::size_t kMaxServerFileName = 200;
// Where the update files lie unless [OnlineUpdate] "Server" names a mirror:
// the release's address, or the development build's (release_settings_rules.h).
constexpr const char* kDefaultUpdateBaseUrl = TIKKORA_BUILT_IN_UPDATE_URL;

// Leading blanks, an optional sign, digits with an optional point and
// digits, an optional exponent; the point is the decimal separator whatever
// the locale. Anything else, trailing text or a value beyond a double is
// kNoVersion.
double ParseVersionNumber(std::string_view text);
// The server's number against the program's: only a greater one is newer.
enum class VersionVerdict { NoInformation, AlreadyNewest, Newer };
VersionVerdict JudgeVersion(double serverVersion, double programVersion = kProgramVersion);

// A bare file name that Windows makes as it stands: not empty, at most
// kMaxServerFileName characters, no control characters (DEL included), none
// of "/", "\", ":", "..", the wildcards or the other characters Windows
// refuses, no trailing dot or blank, and no device name (CON, NUL.exe, com1).
bool IsPlainFileName(std::string_view name);

// The "Server" value when it can stand for the base address: "http://",
// a host, no trailing "/", no blanks or control characters (DEL included).
// Otherwise the default.
std::string ChooseUpdateBaseUrl(std::string_view configured);

using Sha256Digest = std::array<std::uint8_t, 32>;
// An ECDSA P-256 signature as r then s, each 32 bytes big-endian.
using EcdsaSignature = std::array<std::uint8_t, 64>;
// An ECDSA P-256 public key as x then y, each 32 bytes big-endian.
using EcdsaPublicKey = std::array<std::uint8_t, 64>;

std::string ToHex(const std::uint8_t* bytes, std::size_t count);
// Exactly 2 * N hexadecimal digits, either letter case.
std::optional<Sha256Digest> ParseDigestHex(std::string_view text);
std::optional<EcdsaSignature> ParseSignatureHex(std::string_view text);

// What the versions file says about the newest release.
struct VersionsEntry {
    std::string version; // "-1" when the key is missing
    std::string file1;
    std::string infos; // empty: the release comes without notes
    std::string sha256;
    std::string signature;
    std::string infosSha256;
};

// The bytes a release signature covers: it binds the section, the version
// text, the installer's name and hash and the notes' name and hash, so neither
// a changed installer or changed notes nor an old signed release announced
// under a new version passes. Hashes in lower case; an entry without notes
// signs both notes values empty.
std::string SignedUpdateMessage(std::string_view section, std::string_view version,
                                std::string_view file1, std::string_view sha256Hex,
                                std::string_view infos, std::string_view infosSha256Hex);

// The checks of an entry that come before the signature: the installer's name
// plain, the notes' name plain with a hash or both absent, hash and signature
// well-formed. The parsed hashes and signature on success.
struct CheckedEntry {
    Sha256Digest sha256;
    EcdsaSignature signature;
    std::optional<Sha256Digest> infosSha256; // none: no notes
};
std::optional<CheckedEntry> CheckEntryForm(const VersionsEntry& entry);

// The message the entry's signature has to cover.
std::string SignedUpdateMessage(const VersionsEntry& entry, const CheckedEntry& checked);

// True only for a file that could be hashed and whose hash is the signed one.
bool MatchesSignedHash(const std::optional<Sha256Digest>& computed,
                       const std::optional<Sha256Digest>& signedHash);
