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

// Where a Location leads, resolved as a reference against the request it
// answered (its host, port and path as sent): an absolute URL stays as it is,
// "//host/path" keeps the scheme, a path from the root or beside the request's
// path stays on the request's host and port. The fragment is dropped and "."
// and ".." segments are resolved.
std::string ResolveRedirect(const std::string& location, const UrlTarget& request);
