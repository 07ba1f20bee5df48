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

// Splits target.url into host, port and path; blanks and bytes beyond ASCII
// in the path are percent-encoded. Raises Exception for an empty URL and for
// "https", ESockError for a control character in the URL or the host, and
// EConvertError for a port that is not a number from 1 to 65535.
void ParseUrl(UrlTarget& target);

// Blanks and bytes from 0x80 on as "%" and two upper-case hexadecimal digits;
// every other byte as it is, so encoding twice changes nothing.
std::string EncodeTargetBytes(const std::string& text);

// A Location without any "/" names a file beside the server's root.
std::string RedirectUrl(const std::string& location, const std::string& host);
