#include "net/http_request_rules.h"
#include "net/nmurl_rules.h"
#include "net/nmuue_rules.h"
#include "net/sock_exceptions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace {

const char kAccept[] =
    "Accept: www/source, text/html, video/mpeg, image/jpeg, image/x-tiff\r\n"
    "Accept: image/x-rgb, image/x-xbm, image/gif, */*, application/postscript\r\n";
const char kContentType[] = "Content-type: application/x-www-form-urlencoded\r\n";

std::string Head(CmdType kind, const std::string& url, const std::string& proxy = "",
                 const THeaderInfo& info = {}, const std::string& extra = "",
                 std::int64_t bodyLength = 0) {
    UrlTarget target{url, "", 0, ""};
    ParseUrl(target);
    TExStringList lines;
    BuildRequestLines({kind, target, proxy, info, extra, bodyLength}, lines);
    return RequestHead(lines);
}

} // namespace

TEST(NetBuildRequest, GetOfTheVersionsFile) {
    EXPECT_EQ(Head(CmdType::Get, "http://host/versions.nf"),
              std::string("GET /versions.nf HTTP/1.0\r\nHost: host\r\n") + kAccept + kContentType +
                  "\r\n");
    // The port stays out of the Host line.
    EXPECT_EQ(Head(CmdType::Get, "http://host:8080/x").substr(0, 29),
              "GET /x HTTP/1.0\r\nHost: host\r\n");
}

TEST(NetBuildRequest, ThroughAProxyNamesTheWholeUrl) {
    EXPECT_EQ(Head(CmdType::Get, "http://host/versions.nf", "proxy"),
              std::string("GET http://host/versions.nf HTTP/1.0\r\n"
                          "Proxy-Connection: Keep-Alive\r\nHost: host\r\n") +
                  kAccept + kContentType + "\r\n");
}

TEST(NetBuildRequest, CallerValuesAndOneLineCredentials) {
    THeaderInfo info{"me@example.org", "Tikkora", "id=1", "http://ref/", "", ""};
    info.UserId = "a-rather-long-user-name-for-this-server";
    info.Password = "and-a-password-that-is-long-too";
    const std::string base64 =
        "YS1yYXRoZXItbG9uZy11c2VyLW5hbWUtZm9yLXRoaXMtc2VydmVyOmFuZC1hLXBhc3N3"
        "b3JkLXRoYXQtaXMtbG9uZy10b28=";
    ASSERT_GT(base64.size(), 60u);
    EXPECT_EQ(Head(CmdType::Get, "http://host/"),
              Head(CmdType::Get, "http://host/", "", THeaderInfo{"", "", "", "", "user", ""}))
        << "a user without password sends no Authorization";
    EXPECT_EQ(Head(CmdType::Get, "http://host/", "", info),
              std::string("GET / HTTP/1.0\r\nHost: host\r\n") + kAccept +
                  "User-Agent: Tikkora\r\nFrom: me@example.org\r\nCookie: id=1\r\n"
                  "Referer: http://ref/\r\nAuthorization: Basic " +
                  base64 + "\r\n" + kContentType + "\r\n");
}

TEST(NetBuildRequest, ValuesThatWouldStartALineOfTheirOwnAreRefused) {
    for (const THeaderInfo& info :
         {THeaderInfo{"", "", "id=1\r\nX-Evil: 1", "", "", ""},
          THeaderInfo{"", "Tikkora\n", "", "", "", ""},
          THeaderInfo{"", "", "", std::string("http://r/\0", 10), "", ""}}) {
        EXPECT_THROW(Head(CmdType::Get, "http://host/", "", info), ESockError);
    }
    EXPECT_THROW(Head(CmdType::Copy, "http://host/", "", {}, "/to\rX: y"), ESockError);
    EXPECT_NO_THROW(Head(CmdType::Get, "http://host/", "", {"", "Tikkora\t2.4", "", "", "", ""}));
}

TEST(NetBuildRequest, EveryKindHasItsMethodAndExtraLines) {
    struct Case {
        CmdType kind;
        const char* first;
        const char* tail;
    };
    const Case cases[] = {
        {CmdType::Options, "OPTIONS / HTTP/1.0", ""},
        {CmdType::Head, "HEAD / HTTP/1.0", ""},
        {CmdType::Post, "POST / HTTP/1.0", "Content-Length: 7\r\n"},
        {CmdType::Put, "PUT / HTTP/1.0", "Content-Length: 7\r\n"},
        {CmdType::Patch, "PATCH / HTTP/1.0", "Content-Length: 7\r\n"},
        {CmdType::Copy, "COPY / HTTP/1.0", "URI-header: /there\r\n"},
        {CmdType::Move, "MOVE / HTTP/1.0", "URI-header: /there\r\n"},
        {CmdType::Delete, "DELETE / HTTP/1.0", ""},
        {CmdType::Link, "LINK / HTTP/1.0", "Link: /there\r\n"},
        {CmdType::Unlink, "UNLINK / HTTP/1.0", "Link: /there\r\n"},
        {CmdType::Trace, "TRACE / HTTP/1.0", "Content-Length: 7\r\n"},
        {CmdType::Raw, "Host: host", "Content-Length: 7\r\n"},
    };
    for (const Case& c : cases) {
        const std::string head = Head(c.kind, "http://host/", "", {}, "/there", 7);
        EXPECT_EQ(head.substr(0, head.find("\r\n")), c.first);
        const std::string afterType =
            head.substr(head.find(kContentType) + sizeof kContentType - 1);
        EXPECT_EQ(afterType, std::string(c.tail) + "\r\n") << c.first;
    }
}

TEST(NetHeaderList, FindsAndRewritesLinesByName) {
    TExStringList lines;
    lines.Add("GET / HTTP/1.0");
    lines.Add("Host: a");
    lines.Add("x-thing: 1");
    EXPECT_EQ(lines.IndexOfHeader("HOST"), 1);
    EXPECT_EQ(lines.IndexOfHeader("X-Thing"), 2);
    EXPECT_EQ(lines.IndexOfHeader("GET / HTTP/1.0"), -1);
    lines.SetHeader("host", "b");
    EXPECT_EQ(lines[1], "host: b");
    lines.SetHeader("Cookie", "c");
    EXPECT_EQ(lines[3], "Cookie: c");
    lines.SetHeader("X-THING", "");
    EXPECT_EQ(lines.Text(), "GET / HTTP/1.0\r\nhost: b\r\nCookie: c\r\n");
    lines.SetSorted(true);
    EXPECT_EQ(lines.IndexOfHeader("cookie"), 0);
    EXPECT_EQ(lines.IndexOfHeader("HOST"), 2);
    EXPECT_EQ(lines.IndexOfHeader("From"), -1);
    lines.SetHeader("Accept", "*/*");
    EXPECT_EQ(lines.IndexOfHeader("accept"), 0);
}

TEST(NetHeaderList, ASortedListFindsEachNameExactly) {
    // Names that share a start, followed by characters below and above ":".
    TExStringList lines;
    lines.SetSorted(true);
    for (const char* line : {"Accept-Language: de", "Accept: */*", "Accept.X: 1", "Accept",
                             "Host: h", "AcceptZ: 2", "accept-language"}) {
        lines.Add(line);
    }
    for (const char* line : {"Accept: */*", "Accept-Language: de", "Accept.X: 1", "AcceptZ: 2"}) {
        const std::string name = std::string(line).substr(0, std::string(line).find(':'));
        EXPECT_EQ(lines[std::max(0, lines.IndexOfHeader(name))], line) << name;
    }
    EXPECT_EQ(lines.IndexOfHeader("Acc"), -1);
}

TEST(NetFormEncoding, KeepsOnlyLettersAndDigits) {
    TNMURL url;
    EXPECT_EQ(url.Encode("a b/c"), "a+b%2Fc");
    EXPECT_EQ(url.Encode("Zz09-_.~%\xC3\xBC"), "Zz09%2D%5F%2E%7E%25%C3%BC");
    url.InputString = std::string("\0\n", 2);
    EXPECT_EQ(url.Encode(), "%00%0A");
}

TEST(NetBase64, EncodesWithFillAndWithoutLineBreaks) {
    EXPECT_EQ(EncodeBase64(""), "");
    EXPECT_EQ(EncodeBase64("f"), "Zg==");
    EXPECT_EQ(EncodeBase64("fo"), "Zm8=");
    EXPECT_EQ(EncodeBase64("foo"), "Zm9v");
    EXPECT_EQ(EncodeBase64("\xFF\xFE\xFD"), "//79");
    EXPECT_EQ(EncodeBase64(std::string(60, 'a')).find_first_of("\r\n"), std::string::npos);
}

TEST(NetUUProcessor, EncodesStreamsInLinesOf45Bytes) {
    const std::string input(46, 'M');
    int events = 0;
    const auto encode = [&](UUMethods method) {
        std::istringstream in(input);
        std::stringstream out;
        TNMUUProcessor processor;
        processor.Method = method;
        processor.InputStream = &in;
        processor.OutputStream = &out;
        processor.OnBeginEncode = [&](TNMUUProcessor*) { ++events; };
        processor.OnEndEncode = [&](TNMUUProcessor*) { events += 10; };
        in.get(); // the encoder starts from the beginning wherever the stream stands
        processor.EncodeStream();
        EXPECT_EQ(out.tellp(), 0);
        return out.str();
    };
    EXPECT_EQ(encode(UUMethods::uuMime),
              "TU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1NTU1N\r\nTQ==\r\n");
    EXPECT_EQ(events, 11);
    // uuencode: a length character, the groups in "`!"..."_", an end line.
    // "MMM" is 19 20 53 13, "M" filled with zero bits is 19 16 0 0.
    std::string groups;
    for (int i = 0; i < 15; ++i) {
        groups += "34U-";
    }
    EXPECT_EQ(encode(UUMethods::uuCode), "M" + groups + "\r\n!30``\r\n`\r\n");
}
