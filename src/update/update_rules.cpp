#include "update/update_rules.h"

#include "toolkit/string_rules.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A name Windows opens as a device in every folder, with any extension:
// CON, PRN, AUX, NUL, COM1-COM9, LPT1-LPT9, the same with the superscript
// digits 1 to 3, which Windows reads as digits here (and the console's
// CONIN$, CONOUT$).
bool IsDeviceName(std::string_view name) {
    std::string stem = LowerAscii(name.substr(0, name.find('.')));
    while (!stem.empty() && stem.back() == ' ') {
        stem.pop_back();
    }
    if (stem == "con" || stem == "prn" || stem == "aux" || stem == "nul" || stem == "conin$" ||
        stem == "conout$") {
        return true;
    }
    if (!stem.starts_with("com") && !stem.starts_with("lpt")) {
        return false;
    }
    const std::string_view number = std::string_view(stem).substr(3);
    return (number.size() == 1 && number[0] >= '1' && number[0] <= '9') || number == "\xC2\xB9" ||
           number == "\xC2\xB2" || number == "\xC2\xB3";
}

template <std::size_t N>
std::optional<std::array<std::uint8_t, N>> ParseHex(std::string_view text) {
    if (text.size() != 2 * N) {
        return std::nullopt;
    }
    std::array<std::uint8_t, N> bytes{};
    for (std::size_t i = 0; i < N; ++i) {
        const int high = HexDigitValue(text[2 * i]);
        const int low = HexDigitValue(text[2 * i + 1]);
        if (high < 0 || low < 0) {
            return std::nullopt;
        }
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return bytes;
}

} // namespace

double ParseVersionNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    const std::size_t start = i;
    std::size_t digits = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        ++digits;
    }
    if (digits == 0) {
        return kNoVersion;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        const std::size_t fractionStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        if (i == fractionStart) {
            return kNoVersion;
        }
    }
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ++i;
        }
        const std::size_t exponentStart = i;
        while (i < text.size() && IsDigit(text[i])) {
            ++i;
        }
        if (i == exponentStart) {
            return kNoVersion;
        }
    }
    if (i != text.size()) {
        return kNoVersion;
    }
    // from_chars reads the C locale's form only, which is the point we want;
    // its one gap, a leading "+", was taken off above.
    double value = 0;
    const auto [end, error] = std::from_chars(text.data() + start, text.data() + i, value);
    if (error != std::errc() || end != text.data() + i || !std::isfinite(value)) {
        return kNoVersion;
    }
    return negative ? -value : value;
}

VersionVerdict JudgeVersion(double serverVersion, double programVersion) {
    if (serverVersion == kNoVersion) {
        return VersionVerdict::NoInformation;
    }
    return serverVersion > programVersion ? VersionVerdict::Newer : VersionVerdict::AlreadyNewest;
}

std::int64_t InstallerByteLimit(std::int64_t announced) {
    return announced > 0 ? announced : kMaxUnannouncedInstallerSize;
}

bool IsPlainFileName(std::string_view name) {
    if (name.empty() || name.size() > kMaxServerFileName) {
        return false;
    }
    for (char c : name) {
        if (IsControlChar(c) || std::string_view("/\\:*?\"<>|").find(c) != std::string_view::npos) {
            return false;
        }
    }
    // Windows drops trailing dots and blanks, so the file made would not be the one named.
    if (name.back() == '.' || name.back() == ' ') {
        return false;
    }
    return name.find("..") == std::string_view::npos && !IsDeviceName(name);
}

std::string ChooseUpdateBaseUrl(std::string_view configured) {
    constexpr std::string_view scheme = "http://";
    const bool usable = configured.size() > scheme.size() &&
                        configured.substr(0, scheme.size()) == scheme && configured.back() != '/' &&
                        configured[scheme.size()] != '/' &&
                        std::none_of(configured.begin(), configured.end(),
                                     [](char c) { return c == ' ' || IsControlChar(c); });
    return usable ? std::string(configured) : std::string(kDefaultUpdateBaseUrl);
}

std::string ToHex(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(2 * count);
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 15];
    }
    return text;
}

std::optional<Sha256Digest> ParseDigestHex(std::string_view text) {
    return ParseHex<32>(text);
}

std::optional<EcdsaSignature> ParseSignatureHex(std::string_view text) {
    return ParseHex<64>(text);
}

std::string SignedUpdateMessage(std::string_view section, std::string_view version,
                                std::string_view file1, std::string_view sha256Hex,
                                std::string_view infos, std::string_view infosSha256Hex) {
    std::string message = "Tikkora update v2\n";
    message.append("section=").append(section).append("\n");
    message.append("version=").append(version).append("\n");
    message.append("file1=").append(file1).append("\n");
    message.append("sha256=").append(sha256Hex).append("\n");
    message.append("infos=").append(infos).append("\n");
    message.append("infos_sha256=").append(infosSha256Hex).append("\n");
    return message;
}

std::optional<CheckedEntry> CheckEntryForm(const VersionsEntry& entry) {
    if (!IsPlainFileName(entry.file1)) {
        return std::nullopt;
    }
    const auto digest = ParseDigestHex(entry.sha256);
    const auto signature = ParseSignatureHex(entry.signature);
    if (!digest || !signature) {
        return std::nullopt;
    }
    if (entry.infos.empty()) {
        return entry.infosSha256.empty()
                   ? std::optional<CheckedEntry>(CheckedEntry{*digest, *signature, std::nullopt})
                   : std::nullopt;
    }
    const auto infosDigest = ParseDigestHex(entry.infosSha256);
    if (!IsPlainFileName(entry.infos) || !infosDigest) {
        return std::nullopt;
    }
    return CheckedEntry{*digest, *signature, *infosDigest};
}

std::string SignedUpdateMessage(const VersionsEntry& entry, const CheckedEntry& checked) {
    const auto hex = [](const Sha256Digest& digest) { return ToHex(digest.data(), digest.size()); };
    return SignedUpdateMessage(kVersionsSection, entry.version, entry.file1, hex(checked.sha256),
                               entry.infos,
                               checked.infosSha256 ? hex(*checked.infosSha256) : std::string());
}

bool MatchesSignedHash(const std::optional<Sha256Digest>& computed,
                       const std::optional<Sha256Digest>& signedHash) {
    return computed && signedHash && *computed == *signedHash;
}
