#pragma once
// How a request URL becomes the host, port and path the client connects to
// and names in its request line.
#include <string>

struct UrlTarget {
    std::string url;  // as given; may gain a trailing "/"
    std::string host; // kept when the URL names no host (a redirect to "/path")
    int port = 0;     // kept when the URL holds no colon at all
    std::string path;
};

// The longest path the request line carries.
constexpr std::size_t kMaxPathLength = 256;

// Splits target.url into host, port and path. Raises Exception for an empty
// URL and for "https", EConvertError for a port that is not a number.
void ParseUrl(UrlTarget& target);

// A Location without any "/" names a file beside the server's root.
std::string RedirectUrl(const std::string& location, const std::string& host);
