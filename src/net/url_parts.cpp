#include "net/url_parts.h"

#include "net/text_fields.h"
#include "toolkit/exceptions.h"
#include "toolkit/strings.h"

namespace {

int PortNumber(const std::string& text) {
    bool digits = !text.empty() && text.size() <= 5;
    for (char c : text) {
        digits = digits && c >= '0' && c <= '9';
    }
    const int value = digits ? std::stoi(text) : -1;
    if (value < 0 || value > 65535) {
        throw EConvertError("'" + text + "' is not a valid integer value");
    }
    return value;
}

} // namespace

void ParseUrl(UrlTarget& target) {
    const std::string& url = target.url;
    if (url.empty()) {
        throw Exception("Empty URL");
    }
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
    if (target.path.empty()) {
        target.path.assign(1, '/');
        target.url += "/";
    }
}

std::string RedirectUrl(const std::string& location, const std::string& host) {
    return location.find('/') == std::string::npos ? "http://" + host + "/" + location : location;
}
