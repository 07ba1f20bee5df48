#include "net/text_fields_rules.h"

std::string NthField(std::string_view text, char separator, int n) {
    std::size_t start = 0;
    for (int field = 1; field < n; ++field) {
        const std::size_t next = text.find(separator, start);
        if (next == std::string_view::npos) {
            return {};
        }
        start = next + 1;
    }
    const std::size_t end = text.find(separator, start);
    return std::string(text.substr(start, end == std::string_view::npos ? end : end - start));
}

std::size_t NthSeparatorPos(std::string_view text, char separator, int n) {
    std::size_t found = std::string_view::npos;
    for (int count = 0; count < n; ++count) {
        found = text.find(separator, found == std::string_view::npos ? 0 : found + 1);
        if (found == std::string_view::npos) {
            return text.size() + 1;
        }
    }
    return found + 1 == text.size() ? text.size() + 1 : found + 1;
}

std::string UpperAscii(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}
