#include "rules/message_history.h"

#include "rules/sound_list.h"
#include "toolkit/string_rules.h"

#include <algorithm>
#include <set>

namespace {

// What a profile value may hold and still read back whole, in UTF-16 characters.
constexpr std::size_t kLongestValue = 2047;

// The code point of the UTF-8 sequence at text[i], advancing i; -1 when the
// bytes are no valid sequence (cut, overlong, a surrogate, beyond U+10FFFF).
long NextCodePoint(std::string_view text, std::size_t& i) {
    auto byte = static_cast<unsigned char>(text[i++]);
    if (byte < 0x80) {
        return byte;
    }
    int more = byte >= 0xF0 ? 3 : byte >= 0xE0 ? 2 : byte >= 0xC0 ? 1 : -1;
    if (more < 0 || byte >= 0xF8) {
        return -1;
    }
    long code = byte & (0x3F >> more);
    for (int k = 0; k < more; ++k) {
        if (i >= text.size() || (static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            return -1;
        }
        code = (code << 6) | (static_cast<unsigned char>(text[i++]) & 0x3F);
    }
    // The shortest form only: another would pass the checks as a character it is not.
    constexpr long kShortest[] = {0x80, 0x800, 0x10000};
    if (code < kShortest[more - 1] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) {
        return -1;
    }
    return code;
}

std::size_t Utf16Length(std::string_view text) {
    std::size_t length = 0;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        if ((byte & 0xC0) != 0x80) {
            length += byte >= 0xF0 ? 2 : 1;
        }
    }
    return length;
}

std::string StandInValue(std::size_t position, std::string_view text, const KeepsCharacter& keeps) {
    return std::to_string(position) + "|" + EscapeHistoryText(text, keeps);
}

bool FitsAValue(const std::string& value) {
    return Utf16Length(value) <= kLongestValue;
}

} // namespace

bool RememberMessage(std::vector<std::string>& history, const std::string& typed,
                     const KeepsCharacter& keeps) {
    // Tried at the last place: the longest position a stand-in value can carry.
    if (Trim(typed).empty() ||
        (!IsPlainHistoryKey(typed, keeps) &&
         !FitsAValue(StandInValue(kMessageHistoryLimit - 1, typed, keeps)))) {
        return false;
    }
    history.erase(std::remove(history.begin(), history.end(), typed), history.end());
    history.insert(history.begin(), typed);
    if (history.size() > kMessageHistoryLimit) {
        history.resize(kMessageHistoryLimit);
    }
    return true;
}

bool IsPlainHistoryKey(std::string_view text, const KeepsCharacter& keeps) {
    if (text.empty() || text.front() == '[' || text.front() == ';' || text.front() == ' ' ||
        text.back() == ' ' || text.find('=') != std::string_view::npos) {
        return false;
    }
    for (std::size_t i = 0; i < text.size();) {
        long code = NextCodePoint(text, i);
        // Control characters would break the line.
        if (code < 0x20 || code == 0x7F || (code >= 0x80 && code < 0xA0) ||
            (code >= 0x80 && !keeps(static_cast<char32_t>(code)))) {
            return false;
        }
    }
    return true;
}

std::string EscapeHistoryText(std::string_view text, const KeepsCharacter& keeps) {
    static const char digits[] = "0123456789ABCDEF";
    const std::size_t lastNonBlank = text.find_last_not_of(' ');
    const std::size_t firstNonBlank = text.find_first_not_of(' ');
    std::string escaped;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t start = i;
        const long code = NextCodePoint(text, i);
        // Blanks count only at the ends, where the profile functions drop them.
        const bool outerBlank = code == ' ' && (firstNonBlank == std::string_view::npos ||
                                                start < firstNonBlank || start > lastNonBlank);
        // Characters the file keeps go in as they are: escaping costs three
        // characters a byte, and the value's length is limited.
        const bool kept = code >= 0xA0 && keeps(static_cast<char32_t>(code));
        if (code == '%' || code == '"' || code < 0x20 || (code >= 0x7F && !kept) || outerBlank) {
            for (std::size_t k = start; k < i; ++k) {
                auto byte = static_cast<unsigned char>(text[k]);
                escaped += '%';
                escaped += digits[byte >> 4];
                escaped += digits[byte & 0x0F];
            }
        } else {
            escaped.append(text.substr(start, i - start));
        }
    }
    return escaped;
}

std::string UnescapeHistoryText(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%' && i + 2 < text.size() && HexDigitValue(text[i + 1]) >= 0 &&
            HexDigitValue(text[i + 2]) >= 0) {
            plain +=
                static_cast<char>(HexDigitValue(text[i + 1]) * 16 + HexDigitValue(text[i + 2]));
            i += 2;
        } else {
            plain += text[i];
        }
    }
    return plain;
}

std::vector<HistoryLine> HistoryLines(const std::vector<std::string>& history,
                                      const KeepsCharacter& keeps) {
    // Keys are found without regard to case: two keys equal but for case would
    // be one line, so the later one is written under a stand-in key.
    std::set<std::string> usedKeys;
    std::vector<bool> plain(history.size());
    for (std::size_t i = 0; i < history.size(); ++i) {
        plain[i] = IsPlainHistoryKey(history[i], keeps) &&
                   usedKeys.insert(FoldFileNameCase(history[i])).second;
    }
    std::vector<HistoryLine> lines;
    for (std::size_t i = 0; i < history.size(); ++i) {
        const std::string position = std::to_string(i);
        if (plain[i]) {
            lines.push_back({history[i], position});
            continue;
        }
        std::string value = StandInValue(i, history[i], keeps);
        if (!FitsAValue(value)) {
            // It would come back cut: better not kept than kept wrong.
            continue;
        }
        std::string key = "*" + position;
        while (!usedKeys.insert(FoldFileNameCase(key)).second) {
            key += "*";
        }
        lines.push_back({key, value});
    }
    return lines;
}

std::string HistoryEntry(std::string_view key, std::string_view value) {
    const std::size_t bar = value.find('|');
    if (bar == std::string_view::npos || bar == 0) {
        return std::string(key);
    }
    for (std::size_t i = 0; i < bar; ++i) {
        if (value[i] < '0' || value[i] > '9') {
            return std::string(key);
        }
    }
    return UnescapeHistoryText(value.substr(bar + 1));
}

std::vector<std::string> WholeKeyNames(std::vector<std::string> names, std::size_t bufferChars) {
    std::size_t used = 0;
    for (const std::string& name : names) {
        used += Utf16Length(name) + 1;
    }
    // A full buffer ends in two terminators; a list that reached them was cut.
    if (!names.empty() && used + 2 >= bufferChars) {
        names.pop_back();
    }
    return names;
}
