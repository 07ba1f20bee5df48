#include "rules/profile_values.h"

#include "toolkit/string_rules.h"

#include <cstdint>

int ParseProfileInteger(std::string_view text, int fallback) {
    // Only the hex test looks at the whole text, blanks included.
    const bool longEnoughForHexPrefix = text.size() > 2;
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    bool hex = false;
    if (i < text.size() && text[i] == '$') {
        hex = true;
        ++i;
    } else if (longEnoughForHexPrefix && i + 1 < text.size() && text[i] == '0' &&
               (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i == text.size()) {
        return fallback;
    }
    std::uint64_t value = 0;
    for (; i < text.size(); ++i) {
        int digit =
            hex ? HexDigitValue(text[i]) : (text[i] >= '0' && text[i] <= '9' ? text[i] - '0' : -1);
        if (digit < 0) {
            return fallback;
        }
        value = value * (hex ? 16 : 10) + static_cast<unsigned>(digit);
        if (value > 0xFFFFFFFFull) {
            return fallback;
        }
    }
    if (hex) {
        // Hexadecimal covers the full 32 bits: $FFFFFFFF is -1.
        auto bits = static_cast<std::uint32_t>(value);
        if (negative) {
            bits = 0u - bits;
        }
        return static_cast<int>(static_cast<std::int32_t>(bits));
    }
    if (negative) {
        return value > 0x80000000ull ? fallback
                                     : static_cast<int>(-static_cast<std::int64_t>(value));
    }
    return value > 0x7FFFFFFFull ? fallback : static_cast<int>(value);
}

bool ParseProfileBool(std::string_view text, bool fallback) {
    return ParseProfileInteger(text, fallback ? 1 : 0) != 0;
}

std::string FormatProfileInteger(int value) {
    return std::to_string(value);
}

std::vector<std::string> SplitKeyList(std::string_view list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start < list.size() && list[start] != '\0') {
        std::size_t end = list.find('\0', start);
        if (end == std::string_view::npos) {
            end = list.size();
        }
        names.emplace_back(list.substr(start, end - start));
        start = end + 1;
    }
    return names;
}
