#include "toolkit/string_rules.h"

std::string LowerAscii(std::string_view text) {
    std::string result(text);
    for (char& c : result) {
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
    }
    return result;
}

std::string Trim(std::string_view text) {
    auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && isBlank(text[first])) {
        ++first;
    }
    while (last > first && isBlank(text[last - 1])) {
        --last;
    }
    return std::string(text.substr(first, last - first));
}

std::string LeftUtf8(std::string_view text, std::size_t n) {
    if (text.size() <= n) {
        return std::string(text);
    }
    // Step back over continuation bytes so a multi-byte character is kept whole or not at all.
    std::size_t end = n;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return std::string(text.substr(0, end));
}

bool IsControlChar(char c) {
    return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
}

int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

std::string StripAccelerators(std::string_view caption) {
    std::string stripped;
    std::size_t i = 0;
    while (i + 1 < caption.size()) {
        if (caption[i] == '&') {
            ++i; // a doubled marker keeps its second "&", which is copied next
        }
        stripped += caption[i];
        ++i;
    }
    if (i < caption.size()) {
        stripped += caption[i];
    }
    return stripped;
}

std::string LabelName(std::string_view caption) {
    std::string name = StripAccelerators(caption);
    while (!name.empty() && (name.back() == ':' || name.back() == ' ')) {
        name.pop_back();
    }
    return name;
}
