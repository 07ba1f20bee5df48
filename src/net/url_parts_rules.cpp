#include "net/url_parts_rules.h"

#include "net/sock_exceptions.h"
#include "net/text_fields_rules.h"
#include "toolkit/exceptions.h"
#include "toolkit/string_rules.h"

#include <algorithm>
#include <cctype>
#include <string_view>
#include <vector>

namespace {

unsigned char UChar(char c) {
    return static_cast<unsigned char>(c);
}

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
    std::string hostPart = hasSlashes      ? NthField(url, '/', 3)
                           : url[0] == '/' ? std::string()
                                           : NthField(url, '/', 1);
    if (hasSlashes) {
        target.path = url.substr(std::min(url.size(), NthSeparatorPos(url, '/', 3) - 1));
    } else if (const std::size_t slash = url.find('/'); slash != std::string::npos) {
        target.path = url.substr(slash);
    } else {
        target.path.clear();
    }
    // The host ends where a query begins: "http://host?a/b" asks "/?a/b" of "host".
    if (const std::size_t query = hostPart.find('?'); query != std::string::npos) {
        target.path.insert(0, "/" + hostPart.substr(query));
        hostPart.resize(query);
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

namespace {

// A scheme: a letter, then letters, digits, "+", "-" or ".", up to a ":".
bool StartsWithScheme(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos || colon == 0 || !std::isalpha(UChar(text[0]))) {
        return false;
    }
    return std::all_of(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(colon), [](char c) {
        return std::isalnum(UChar(c)) || c == '+' || c == '-' || c == '.';
    });
}

// A path from the root with its "." and ".." segments resolved; a ".." at the
// root stays at the root.
std::string WithoutDotSegments(std::string_view path) {
    const std::size_t queryAt = std::min(path.find('?'), path.size());
    std::vector<std::string_view> kept;
    std::string_view rest = path.substr(1, queryAt - 1);
    bool endsInFolder = false;
    for (;;) {
        const std::size_t slash = rest.find('/');
        const std::string_view segment = rest.substr(0, slash);
        endsInFolder = segment == "." || segment == "..";
        if (segment == "..") {
            if (!kept.empty()) {
                kept.pop_back();
            }
        } else if (segment != ".") {
            kept.push_back(segment);
        }
        if (slash == std::string_view::npos) {
            break;
        }
        rest.remove_prefix(slash + 1);
    }
    std::string resolved;
    for (const std::string_view segment : kept) {
        resolved.append("/").append(segment);
    }
    if (resolved.empty() || endsInFolder) {
        resolved += '/';
    }
    return resolved.append(path.substr(queryAt));
}

} // namespace

std::string ResolveRedirect(const std::string& location, const UrlTarget& request) {
    const std::string reference = location.substr(0, location.find('#'));
    if (StartsWithScheme(reference) || reference.starts_with("//")) {
        const std::string absolute = StartsWithScheme(reference) ? reference : "http:" + reference;
        // The path after "scheme://authority" loses its dot segments like any other.
        const std::size_t authority = absolute.find(':') + 1;
        const std::size_t pathAt = absolute.find_first_of("/?", authority + 2);
        if (absolute.compare(authority, 2, "//") != 0 || pathAt == std::string::npos ||
            absolute[pathAt] != '/') {
            return absolute;
        }
        return absolute.substr(0, pathAt) + WithoutDotSegments(absolute.substr(pathAt));
    }
    std::string origin = "http://" + request.host;
    if (request.port != 80) {
        origin += ":" + std::to_string(request.port);
    }
    const std::string requestPath = request.path.empty() ? "/" : request.path;
    if (reference.starts_with("/")) {
        return origin + WithoutDotSegments(reference);
    }
    const std::string document = requestPath.substr(0, requestPath.find('?'));
    if (reference.empty() || reference.starts_with("?")) {
        return origin + (reference.empty() ? requestPath : document + reference);
    }
    const std::string folder = document.substr(0, document.rfind('/') + 1);
    return origin + WithoutDotSegments(folder + reference);
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
