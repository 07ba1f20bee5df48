#include "update/update_rules.h"

#include "toolkit/strings.h"

#include <charconv>
#include <cmath>

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
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
        if (static_cast<unsigned char>(c) < 0x20 || c == '/' || c == '\\' || c == ':') {
            return false;
        }
    }
    return name.find("..") == std::string_view::npos;
}

std::string ChooseUpdateBaseUrl(std::string_view configured) {
    constexpr std::string_view scheme = "http://";
    const bool usable = configured.size() > scheme.size() &&
                        configured.substr(0, scheme.size()) == scheme && configured.back() != '/' &&
                        configured.find_first_of(" \t\r\n") == std::string_view::npos &&
                        configured[scheme.size()] != '/';
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
                                std::string_view file1, std::string_view sha256Hex) {
    std::string message = "Tikkora update v1\n";
    message.append("section=").append(section).append("\n");
    message.append("version=").append(version).append("\n");
    message.append("file1=").append(file1).append("\n");
    message.append("sha256=").append(sha256Hex).append("\n");
    return message;
}

std::optional<CheckedEntry> CheckEntryForm(const VersionsEntry& entry) {
    if (!IsPlainFileName(entry.file1) || !IsPlainFileName(entry.infos)) {
        return std::nullopt;
    }
    const auto digest = ParseDigestHex(entry.sha256);
    const auto signature = ParseSignatureHex(entry.signature);
    if (!digest || !signature) {
        return std::nullopt;
    }
    return CheckedEntry{*digest, *signature};
}
