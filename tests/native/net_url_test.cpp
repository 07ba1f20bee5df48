#include "net/sock_exceptions.h"
#include "net/text_fields_rules.h"
#include "net/url_parts_rules.h"
#include "toolkit/exceptions.h"

#include <gtest/gtest.h>

TEST(NetTextFields, CountFieldsAndSeparatorsFromOne) {
    EXPECT_EQ(NthField("http://host/a", '/', 1), "http:");
    EXPECT_EQ(NthField("http://host/a", '/', 2), "");
    EXPECT_EQ(NthField("http://host/a", '/', 3), "host");
    EXPECT_EQ(NthField("http://host/a", '/', 9), "");
    EXPECT_EQ(NthField("", '/', 1), "");
    EXPECT_EQ(NthSeparatorPos("http://host/a", '/', 3), 12u);
    EXPECT_EQ(NthSeparatorPos("http://host", '/', 3), 12u);  // fewer: length + 1
    EXPECT_EQ(NthSeparatorPos("http://host/", '/', 3), 13u); // the last character: length + 1
}

struct UrlCase {
    const char* url;
    int callerPort;
    const char* host;
    int port;
    const char* path;
    const char* urlAfter;
};

TEST(NetParseUrl, SplitsHostPortAndPath) {
    const UrlCase cases[] = {
        {"http://host/versions.nf", 0, "host", 80, "/versions.nf", "http://host/versions.nf"},
        {"http://host:8080/a/b?c=d", 0, "host", 8080, "/a/b?c=d", "http://host:8080/a/b?c=d"},
        {"http://host", 0, "host", 80, "/", "http://host/"},
        {"HTTP://Host.example", 1234, "Host.example", 80, "/", "HTTP://Host.example/"},
        {"host/file.txt", 8080, "host", 8080, "/file.txt", "host/file.txt"},     // no colon
        {"/other/file.txt", 0, "old", 80, "/other/file.txt", "/other/file.txt"}, // keeps Host
        {"ftp://files/x", 0, "files", 21, "/x", "ftp://files/x"},
        {"gopher://g/", 0, "g", 70, "/", "gopher://g//"},
        {"host:81/x", 0, "host", 81, "/x", "host:81/x"},
        {"http://hos?/x", 0, "hos", 80, "/?/x", "http://hos?/x"},
    };
    for (const UrlCase& c : cases) {
        UrlTarget target{c.url, "old", c.callerPort, ""};
        ParseUrl(target);
        EXPECT_EQ(target.host, c.host) << c.url;
        EXPECT_EQ(target.port, c.port) << c.url;
        EXPECT_EQ(target.path, c.path) << c.url;
        EXPECT_EQ(target.url, c.urlAfter) << c.url;
    }
}

// The failure a URL gives, as "class: text".
std::string ParseFailure(const std::string& url) {
    UrlTarget target{url, "", 0, ""};
    try {
        ParseUrl(target);
    } catch (const EConvertError& e) {
        return std::string("EConvertError: ") + e.what();
    } catch (const ESockError& e) {
        return std::string("ESockError: ") + e.what();
    } catch (const Exception& e) {
        return std::string("Exception: ") + e.what();
    }
    return "none";
}

TEST(NetParseUrl, RefusesWhatItCannotFetch) {
    EXPECT_EQ(ParseFailure(""), "Exception: Empty URL");
    EXPECT_EQ(ParseFailure("https://host/"), "Exception: HTTP Secure Socket is not supported");
    EXPECT_EQ(ParseFailure("http://host:abc/"),
              "EConvertError: 'abc' is not a valid integer value");
    for (const char* url : {"http://host:/", "http://host:99999999999999/", "http://host:-1/",
                            "http://host:0/", "host:00/x"}) {
        EXPECT_EQ(ParseFailure(url).rfind("EConvertError: ", 0), 0u) << url;
    }
}

TEST(NetParseUrl, RefusesControlCharactersAnywhere) {
    for (const std::string& url :
         {std::string("http://host/a\r\nX-Evil: 1"), std::string("http://ho\nst/a"),
          std::string("/next\rHost: evil"), std::string("http://host/a\0b", 15),
          std::string("http://host/\x7f"), std::string("http://host/a\tb"),
          std::string("\x1b[2J")}) {
        EXPECT_EQ(ParseFailure(url), "ESockError: Invalid character in URL") << url;
    }
    // A host kept from an earlier request is checked the same way.
    UrlTarget target{"/a", "host\r\nX: y", 80, ""};
    EXPECT_THROW(ParseUrl(target), ESockError);
}

TEST(NetParseUrl, EncodesBlanksAndBytesBeyondAsciiInThePath) {
    for (const auto& [url, path] :
         {std::pair{"http://host/Neue Version.exe", "/Neue%20Version.exe"},
          {"http://host/Hinweise-\xc3\xa4.rtf", "/Hinweise-%C3%A4.rtf"},
          {"/a%20b?c=d e", "/a%20b?c=d%20e"}}) {
        UrlTarget target{url, "old", 0, ""};
        ParseUrl(target);
        EXPECT_EQ(target.path, path) << url;
    }
}

TEST(NetParseUrl, BoundsHostilePathsAndHosts) {
    UrlTarget target{"http://host/" + std::string(5000, 'a'), "", 0, ""};
    ParseUrl(target);
    EXPECT_EQ(target.path.size(), 256u);
    target = {"http://" + std::string(300, 'h') + ":8000/x", "", 0, ""};
    ParseUrl(target);
    EXPECT_EQ(target.host, std::string(300, 'h'));
    EXPECT_EQ(target.port, 8000);
}

TEST(NetParseUrl, ALocationIsResolvedAgainstTheRequest) {
    const UrlTarget request{"http://host:8080/a/b/c?q=1", "host", 8080, "/a/b/c?q=1"};
    for (const auto& [location, resolved] :
         {std::pair{"http://other/x", "http://other/x"},
          {"//other:81/a/../x", "http://other:81/x"},
          {"http://other/a/./b/../x?y=/../z", "http://other/a/x?y=/../z"},
          {"/x/evil.example//y", "http://host:8080/x/evil.example//y"},
          {"/a:b", "http://host:8080/a:b"},
          {"new.html", "http://host:8080/a/b/new.html"},
          {"../up/./x#frag", "http://host:8080/a/up/x"},
          {"../../../x", "http://host:8080/x"},
          {"?r=2", "http://host:8080/a/b/c?r=2"}}) {
        EXPECT_EQ(ResolveRedirect(location, request), resolved) << location;
    }
    EXPECT_EQ(ResolveRedirect("/x", {"http://host/", "host", 80, "/"}), "http://host/x");
}
