#include "net/url_parts_rules.h"

#include "net/sock_exceptions.h"
#include "net/text_fields_rules.h"
#include "toolkit/exceptions.h"
#include "toolkit/string_rules.h"

#include <algorithm>

namespace {

// A control character would end the request line early and start a line of
// the sender's choosing.
void RefuseControls(const std::string& text) {
    if (std::any_of(text.begin(), text.end(), IsControlChar)) {
        throw ESockError("Invalid character in URL");
    }
}

int PortNumber(const std::string& text) {
    bool digits = !text.empty() && text.size() <= 5;
    for (char c : text) {
        digits = digits && c >= '0' && c <= '9';
    }
    if (!digits) {
        throw EConvertError("'" + text + "' is not a valid integer value");
    }
    // Port 0 reaches no server.
    const int value = std::stoi(text);
    if (value < 1 || value > 65535) {
        throw EConvertError("'" + text + "' is not a valid port");
    }
    return value;
}

} // namespace

void ParseUrl(UrlTarget& target) {
    const std::string& url = target.url;
    if (url.empty()) {
        throw Exception("Empty URL");
    }
    RefuseControls(url);
    if (target.port == 0) {
        target.port = 80;
    }
    const bool hasSlashes = url.find("//") != std::string::npos;
    if (hasSlashes) {
        target.path = url.substr(std::min(url.size(), NthSeparatorPos(url, '/', 3) - 1));
    } else if (const std::size_t slash = url.find('/'); slash != std::string::npos) {
        target.path = url.substr(slash);
    } else {
        target.path.clear();
    }
    target.path.resize(std::min(target.path.size(), kMaxPathLength));
    target.path = EncodeTargetBytes(target.path);

    if (url.find(':') != std::string::npos) {
        const std::string scheme = LowerAscii(NthField(url, ':', 1));
        if (scheme == "https") {
            throw Exception("HTTP Secure Socket is not supported");
        }
        target.port = scheme == "gopher" ? 70 : scheme == "ftp" ? 21 : 80;
    }

    std::string hostPart = hasSlashes      ? NthField(url, '/', 3)
                           : url[0] == '/' ? std::string()
                                           : NthField(url, '/', 1);
    if (const std::size_t colon = hostPart.find(':'); colon != std::string::npos) {
        target.port = PortNumber(NthField(hostPart, ':', 2));
        hostPart.resize(colon);
    }
    if (!hostPart.empty()) {
        target.host = hostPart;
    }
    // A host kept from before goes into the request's lines just the same.
    RefuseControls(target.host);
    if (target.path.empty()) {
        target.path.assign(1, '/');
        target.url += "/";
    }
}

std::string RedirectUrl(const std::string& location, const std::string& host) {
    return location.find('/') == std::string::npos ? "http://" + host + "/" + location : location;
}

std::string EncodeTargetBytes(const std::string& text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string encoded;
    encoded.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte == ' ' || byte >= 0x80) {
            encoded += '%';
            encoded += kHex[byte >> 4];
            encoded += kHex[byte & 15];
        } else {
            encoded += c;
        }
    }
    return encoded;
}
