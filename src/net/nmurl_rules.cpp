#include "net/nmurl_rules.h"

#include <exception>

std::string TNMURL::Encode(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    try {
        std::string encoded;
        encoded.reserve(text.size());
        for (const char c : text) {
            const auto byte = static_cast<unsigned char>(c);
            if (c == ' ') {
                encoded += '+';
            } else if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
                encoded += c;
            } else {
                encoded += '%';
                encoded += kHex[byte >> 4];
                encoded += kHex[byte & 15];
            }
        }
        return encoded;
    } catch (const std::exception& failure) {
        if (OnError) {
            OnError(this, "Error during encode", failure.what());
        }
        return text;
    }
}
