#include "net/response_header_rules.h"
#include "net/sock_exceptions.h"
#include "net/socket_errors_rules.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Feeds lines until the reader stops; returns how many it took.
std::size_t Feed(ResponseHeaderReader& reader, const std::vector<std::string>& lines) {
    std::size_t taken = 0;
    for (const std::string& line : lines) {
        ++taken;
        if (!reader.Take(line)) {
            break;
        }
    }
    return taken;
}

} // namespace

TEST(NetResponseHeader, StatusNumber) {
    EXPECT_EQ(ReplyNumberOf("HTTP/1.0 200 OK\r\n"), 200);
    EXPECT_EQ(ReplyNumberOf("HTTP/1.1 404\r\n"), 404);
    EXPECT_EQ(ReplyNumberOf("HTTP/1.0  200 OK\r\n"), 0); // the second field is empty
    EXPECT_EQ(ReplyNumberOf("garbage\r\n"), 0);
    EXPECT_EQ(ReplyNumberOf("HTTP/1.0 99999 Big\r\n"), 0);
    EXPECT_EQ(ReplyNumberOf("HTTP/1.0 -5 x\r\n"), 0);
}

TEST(NetResponseHeader, RecognisesNamesOnlyWithASpaceAfterTheColon) {
    struct Case {
        const char* line;
        std::int32_t contentLength;
    };
    const Case cases[] = {
        {"content-length: 1234\r\n", 1234},
        {"content-length:1234\r\n", 0},
        {"Content-Length: abc 77 88\r\n", 77},
        {"CONTENT-LENGTH: \r\n", 0},
        {"Content-Length: 2147483647\r\n", 2147483647},
        {"Content-Length: -5\r\n", 5},
        {"X-Content-Length: 12\r\n", 0},
    };
    for (const Case& c : cases) {
        ResponseHeaderReader reader;
        Feed(reader, {"HTTP/1.0 200 OK\r\n", c.line, "\r\n"});
        EXPECT_EQ(reader.ContentLength(), c.contentLength) << c.line;
    }
}

TEST(NetResponseHeader, LocationAndCookieAndTheEnd) {
    ResponseHeaderReader reader;
    const std::string longLocation = "location: http://h/" + std::string(10 * 1024, 'x') + "\r\n";
    EXPECT_EQ(Feed(reader, {"HTTP/1.0 302 Found\r\n", "Set-Cookie: a=1\r\n", longLocation,
                            std::string("X-Nul: a\0b\r\n", 12), "LOCATION: /next\r\n",
                            "Set-Cookie: b=2; path=/\n", "\n", "not read\r\n"}),
              7u);
    EXPECT_EQ(reader.ReplyNumber(), 302);
    EXPECT_EQ(reader.Location(), "/next");
    EXPECT_EQ(reader.SetCookieValue(), "b=2; path=/");

    ResponseHeaderReader cut;
    Feed(cut, {"HTTP/1.0 301 Moved\r\n", longLocation, "\r\n"});
    EXPECT_EQ(cut.Location()->size(), 256u);

    ResponseHeaderReader closed;
    EXPECT_EQ(Feed(closed, {"", "more"}), 1u);
    EXPECT_EQ(closed.ReplyNumber(), 0);
    EXPECT_FALSE(closed.Location());
    ResponseHeaderReader blankStatus;
    EXPECT_EQ(Feed(blankStatus, {"\r\n", "X: 1\r\n", "\r\n"}), 3u);
}

TEST(NetResponseHeader, HostileHeadersEndWithAClearError) {
    ResponseHeaderReader overlong;
    overlong.Take("HTTP/1.0 200 OK\r\n");
    try {
        overlong.Take(std::string(65536, 'a'));
        FAIL();
    } catch (const ESockError& e) {
        EXPECT_STREQ(e.what(), "Response header line too long");
    }
    // A line of the full buffer size that does end is fine.
    ResponseHeaderReader exact;
    exact.Take("HTTP/1.0 200 OK\r\n");
    EXPECT_TRUE(exact.Take(std::string(65534, 'a') + "\r\n"));

    // A length the counts of the transfer could not follow.
    for (const char* line :
         {"Content-Length: 2147483648\r\n", "content-length: 99999999999999999999\r\n"}) {
        ResponseHeaderReader huge;
        huge.Take("HTTP/1.0 200 OK\r\n");
        EXPECT_THROW(huge.Take(line), ESockError) << line;
    }

    ResponseHeaderReader endless;
    endless.Take("HTTP/1.0 200 OK\r\n");
    const std::string line = "X-Filler: " + std::string(1000, 'f') + "\r\n";
    try {
        for (int i = 0; i < 1000; ++i) {
            endless.Take(line);
        }
        FAIL();
    } catch (const ESockError& e) {
        EXPECT_STREQ(e.what(), "Response header too large");
    }
}

TEST(NetSocketErrors, TextOfEveryKindOfNumber) {
    EXPECT_EQ(SocketErrorText(0), "");
    EXPECT_EQ(SocketErrorText(10061), "10061:Connection refused");
    EXPECT_EQ(SocketErrorText(10004), "10004:Interrupted system call");
    EXPECT_EQ(SocketErrorText(11004), "11004:Valid name, no data record of requested type");
    EXPECT_EQ(SocketErrorText(10047), "10047:Address family not supported by protocol family");
    EXPECT_EQ(SocketErrorText(12345), "Unknown Error No. 12345");
    EXPECT_EQ(SocketErrorText(10072), "Unknown Error No. 10072");
}
