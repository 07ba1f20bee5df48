#pragma once
// Base64 (MIME) and uuencode of a stream, line by line; and the one-line
// Base64 form that Basic credentials need.
#include <functional>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

enum class UUMethods { uuMime = 0, uuCode = 1 };

// RFC 4648 with "=" fill, as one unbroken line.
std::string EncodeBase64(std::string_view bytes);

class TNMUUProcessor {
  public:
    using TNotifyEvent = std::function<void(TNMUUProcessor* sender)>;

    UUMethods Method = UUMethods::uuMime;
    std::istream* InputStream = nullptr;
    std::ostream* OutputStream = nullptr;
    TNotifyEvent OnBeginEncode;
    TNotifyEvent OnEndEncode;

    // Reads the input from its start in chunks of 45 bytes, one CR LF line
    // each; uuencode prefixes the chunk length and ends with a line of its own.
    // Leaves the output positioned at its start.
    void EncodeStream();
};
