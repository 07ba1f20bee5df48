#include "controls/richedit_viewer_rules.h"

#include <gtest/gtest.h>

#include <string>

TEST(ViewerLinks, OnlyWebAndMailAddressesGoToTheShell) {
    for (const char* link : {"http://www.example.de/", "HTTPS://example.de/a?b=c",
                             "mailto:info@example.de", " https://example.de"}) {
        EXPECT_TRUE(IsOpenableLink(link)) << link;
    }
    for (const char* link :
         {"file:///C:/Windows/notepad.exe", "\\\\server\\share\\x.exe", "C:\\Windows\\notepad.exe",
          "javascript:alert(1)", "ftp://host/", "http:", "https://", "mailto:", "telnet://host", "",
          "http://a\"b", "http://a\nb", "xhttp://a", "http://a\x7f"}) {
        EXPECT_FALSE(IsOpenableLink(link)) << link;
    }
}

TEST(ViewerText, DeepNestingAndSizeKeepRichTextPlain) {
    EXPECT_TRUE(ShowAsRichText("{\\rtf1 {\\b bold} \\{ not a group}"));
    EXPECT_FALSE(ShowAsRichText("plain text"));
    EXPECT_EQ(RtfNestingDepth("{\\rtf1 \\{\\{\\{ {a}}"), 2);
    const std::string bomb = "{\\rtf1 " + std::string(100000, '{') + std::string(100000, '}') + "}";
    EXPECT_FALSE(ShowAsRichText(bomb));
    const std::string nested =
        "{\\rtf1 " + std::string(kMaxRtfNesting - 1, '{') + std::string(kMaxRtfNesting, '}');
    EXPECT_TRUE(ShowAsRichText(nested));
    EXPECT_FALSE(ShowAsRichText("{\\rtf1 " + std::string(kMaxViewerText, ' ') + "}"));
}

TEST(ViewerText, PlainTextUpTo1MbIsShownWholeAndLongerTextIsCutWithANote) {
    const std::string note = "\r\n\r\n[Der Text ist zu lang und wurde hier abgeschnitten.]";
    const std::string full(1 << 20, 'a');
    EXPECT_EQ(ShownPlainText(full), full);
    EXPECT_EQ(ShownPlainText(full + "b"), full + note);
    // "ü" is two bytes; the one that would be split goes whole.
    std::string umlaut(full.size() - 1, 'a');
    umlaut += "\xC3\xBC";
    EXPECT_EQ(ShownPlainText(umlaut), std::string(full.size() - 1, 'a') + note);
    // Bytes that are no UTF-8 are cut at 1 MB all the same, not at the start.
    EXPECT_EQ(ShownPlainText(std::string(full.size() + 1, '\x80')),
              std::string(full.size(), '\x80') + note);
}
