#include "rules/sound_list.h"

std::string FoldFileNameCase(std::string_view text) {
    std::string folded(text);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        auto byte = static_cast<unsigned char>(folded[i]);
        if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte + ('a' - 'A'));
        } else if (byte == 0xC3 && i + 1 < folded.size()) {
            // U+00C0..U+00DE are the Latin-1 capitals (U+00D7 is the times sign);
            // in UTF-8 their second byte is 0x80..0x9E and lower case adds 0x20.
            auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) {
                folded[i + 1] = static_cast<char>(next + 0x20);
            }
            ++i;
        }
    }
    return folded;
}

std::optional<std::size_t> FindSoundEntry(const std::vector<std::string>& entries,
                                          std::string_view name) {
    const std::string wanted = FoldFileNameCase(name);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (FoldFileNameCase(entries[i]) == wanted) {
            return i;
        }
    }
    return std::nullopt;
}
