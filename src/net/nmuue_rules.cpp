#include "net/nmuue_rules.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

constexpr std::string_view kMimeAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
// The grave accent stands for 0, then "!" to "_" in code order.
constexpr std::string_view kUuAlphabet =
    "`!\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_";
constexpr std::size_t kChunk = 45;

// Four characters per three bytes; a short last group is filled with "="
// when a fill is given, else written in full from zero bits.
void EncodeGroups(std::string_view bytes, std::string_view alphabet, char fill, std::string& out) {
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        const std::size_t n = std::min<std::size_t>(3, bytes.size() - i);
        std::uint32_t group = 0;
        for (std::size_t k = 0; k < 3; ++k) {
            group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
        }
        for (std::size_t k = 0; k < 4; ++k) {
            const bool filled = fill != 0 && k > n;
            out += filled ? fill : alphabet[(group >> (18 - 6 * k)) & 63];
        }
    }
}

} // namespace

std::string EncodeBase64(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    EncodeGroups(bytes, kMimeAlphabet, '=', out);
    return out;
}

void TNMUUProcessor::EncodeStream() {
    if (OnBeginEncode) {
        OnBeginEncode(this);
    }
    const bool mime = Method == UUMethods::uuMime;
    const std::string_view alphabet = mime ? kMimeAlphabet : kUuAlphabet;
    InputStream->clear();
    InputStream->seekg(0);
    std::array<char, kChunk> chunk{};
    for (;;) {
        InputStream->read(chunk.data(), chunk.size());
        const auto n = static_cast<std::size_t>(InputStream->gcount());
        if (n == 0) {
            break;
        }
        std::string line;
        if (!mime) {
            line += alphabet[n];
        }
        EncodeGroups(std::string_view(chunk.data(), n), alphabet, mime ? '=' : 0, line);
        line += "\r\n";
        OutputStream->write(line.data(), static_cast<std::streamsize>(line.size()));
    }
    if (!mime) {
        *OutputStream << alphabet[0] << "\r\n";
    }
    OutputStream->seekp(0);
    if (OnEndEncode) {
        OnEndEncode(this);
    }
}
