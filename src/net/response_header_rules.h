#pragma once
// What the client learns from the lines of a response header, and where it
// stops believing a server that sends a header without end.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// A line the socket layer hands over is at most this long; a longer one
// arrives cut, without its line end.
constexpr std::size_t kLineBufferSize = 65536;
// Header bytes accepted in one response, status line included.
constexpr std::size_t kMaxHeaderBytes = 256 * 1024;

// The status code: the second space-separated field of the status line,
// 0 when that is not a number that fits.
std::int16_t ReplyNumberOf(const std::string& statusLine);

class ResponseHeaderReader {
  public:
    // Takes the next line as read, line end included. Returns false after the
    // line that ends the header (a blank line, or "" for a closed connection).
    // Raises ESockError for a line longer than the buffer, a header beyond
    // kMaxHeaderBytes or a Content-Length beyond 31 bits; the caller stores
    // the line before handing it over.
    bool Take(const std::string& line);

    std::int16_t ReplyNumber() const { return replyNumber_; }
    std::int32_t ContentLength() const { return contentLength_; }
    const std::string& SetCookieValue() const { return setCookie_; }
    // The value of the last Location line of this response, if it had one.
    const std::optional<std::string>& Location() const { return location_; }

  private:
    void TakeHeaderLine(const std::string& line);

    bool statusSeen_ = false;
    std::size_t bytes_ = 0;
    std::int16_t replyNumber_ = 0;
    std::int32_t contentLength_ = 0;
    std::string setCookie_;
    std::optional<std::string> location_;
};
