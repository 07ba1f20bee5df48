#include "net/response_header_rules.h"

#include "net/sock_exceptions.h"
#include "net/text_fields_rules.h"

#include <limits>

namespace {

constexpr std::size_t kMaxValueLength = 256;

std::string WithoutLineEnd(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) {
        text.pop_back();
    }
    return text;
}

// From the 1-based character position on, without line end, at most 256 characters.
std::string ValueFrom(const std::string& line, std::size_t position) {
    std::string value = WithoutLineEnd(line.substr(std::min(line.size(), position - 1)));
    value.resize(std::min(value.size(), kMaxValueLength));
    return value;
}

// The value of a run of decimal digits, or nothing when it does not fit.
std::optional<std::int64_t> DigitValue(const std::string& digits, std::int64_t max) {
    std::int64_t value = 0;
    for (const char c : digits) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
        if (value > max) {
            return std::nullopt;
        }
    }
    return digits.empty() ? std::nullopt : std::optional(value);
}

std::int32_t FirstNumberAfter(const std::string& line, std::size_t start) {
    const std::size_t first = line.find_first_of("0123456789", std::min(line.size(), start));
    if (first == std::string::npos) {
        return 0;
    }
    const std::size_t end = line.find_first_not_of("0123456789", first);
    const auto value =
        DigitValue(line.substr(first, end - first), std::numeric_limits<std::int32_t>::max());
    // The counts of the transfer could not follow a longer one.
    if (!value) {
        throw ESockError("Content-Length too large");
    }
    return static_cast<std::int32_t>(*value);
}

} // namespace

std::int16_t ReplyNumberOf(const std::string& statusLine) {
    const std::string field = NthField(WithoutLineEnd(statusLine), ' ', 2);
    return static_cast<std::int16_t>(
        DigitValue(field, std::numeric_limits<std::int16_t>::max()).value_or(0));
}

bool ResponseHeaderReader::Take(const std::string& line) {
    bytes_ += line.size();
    if (line.size() >= kLineBufferSize && line.back() != '\n') {
        throw ESockError("Response header line too long");
    }
    if (bytes_ > kMaxHeaderBytes) {
        throw ESockError("Response header too large");
    }
    if (!statusSeen_) {
        statusSeen_ = true;
        if (!line.empty()) {
            replyNumber_ = ReplyNumberOf(line);
        }
        // A blank status line does not end the header; only a closed connection does.
        return !line.empty();
    }
    TakeHeaderLine(line);
    return !(line.empty() || line == "\r\n" || line == "\n");
}

void ResponseHeaderReader::TakeHeaderLine(const std::string& line) {
    const std::string name = NthField(UpperAscii(line), ' ', 1);
    if (name == "SET-COOKIE:") {
        setCookie_ = ValueFrom(line, 13);
    } else if (name == "LOCATION:") {
        location_ = ValueFrom(line, 11);
    } else if (name == "CONTENT-LENGTH:") {
        contentLength_ = FirstNumberAfter(line, 16);
    }
}
