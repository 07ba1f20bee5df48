// The list of recently used alarm messages: how a confirmed message enters it
// and how the list is written to and read from profile keys.
#include "rules/message_history.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using List = std::vector<std::string>;

// What a file in a Western code page, a pure ASCII one and a Unicode file keep.
const KeepsCharacter kLatin1 = [](char32_t c) { return c <= 0xFF; };
const KeepsCharacter kAscii = [](char32_t c) { return c < 0x80; };
const KeepsCharacter kUnicode = [](char32_t) { return true; };

// Reads the lines back as the section would give them.
List ReadBack(const std::vector<HistoryLine>& lines) {
    List entries;
    for (const HistoryLine& line : lines) {
        entries.push_back(HistoryEntry(line.key, line.value));
    }
    return entries;
}

} // namespace

TEST(AlarmHistory, ConfirmedMessageGoesOnTop) {
    List history{"Zahnarzt", "Kaffee"};
    EXPECT_TRUE(RememberMessage(history, "Aufstehen", kLatin1));
    EXPECT_EQ(history, (List{"Aufstehen", "Zahnarzt", "Kaffee"}));
}

TEST(AlarmHistory, MessageAlreadyListedMovesToTopAndIsNeverTwice) {
    List history{"a", "b", "c", "b"};
    EXPECT_TRUE(RememberMessage(history, "b", kLatin1));
    EXPECT_EQ(history, (List{"b", "a", "c"}));
}

TEST(AlarmHistory, RemovalCountsLetterCase) {
    List history{"Kaffee", "kaffee"};
    RememberMessage(history, "KAFFEE", kLatin1);
    EXPECT_EQ(history, (List{"KAFFEE", "Kaffee", "kaffee"}));
    RememberMessage(history, "kaffee", kLatin1);
    EXPECT_EQ(history, (List{"kaffee", "KAFFEE", "Kaffee"}));
}

TEST(AlarmHistory, TwentyFirstMessagePushesTheOldestOut) {
    List history;
    for (int i = 0; i < 20; ++i) {
        RememberMessage(history, "m" + std::to_string(i), kLatin1);
    }
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history.front(), "m19");
    EXPECT_EQ(history.back(), "m0");
    RememberMessage(history, "m20", kLatin1);
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history.front(), "m20");
    EXPECT_EQ(history.back(), "m1");
}

TEST(AlarmHistory, AnOverlongListFromTheFileIsCutToTwenty) {
    List history(35, "x");
    for (int i = 0; i < 35; ++i) {
        history[static_cast<std::size_t>(i)] = "old" + std::to_string(i);
    }
    RememberMessage(history, "neu", kLatin1);
    ASSERT_EQ(history.size(), 20u);
    EXPECT_EQ(history[0], "neu");
    EXPECT_EQ(history[19], "old18");
}

TEST(AlarmHistory, TheEntryIsTheTextAsTypedWithItsBlanks) {
    List history{"Wort"};
    EXPECT_TRUE(RememberMessage(history, "  Wort  ", kLatin1));
    EXPECT_EQ(history, (List{"  Wort  ", "Wort"}));
}

TEST(AlarmHistory, BlankMessagesLeaveTheListAlone) {
    List history{"a"};
    EXPECT_FALSE(RememberMessage(history, "", kLatin1));
    EXPECT_FALSE(RememberMessage(history, "   ", kLatin1));
    EXPECT_FALSE(RememberMessage(history, " \t ", kLatin1));
    EXPECT_EQ(history, (List{"a"}));
}

TEST(AlarmHistory, PlainKeysAreTextsTheProfileKeepsUnchanged) {
    const struct {
        const char* text;
        bool plain;
    } cases[] = {
        {"Aufstehen", true},
        {"Müll rausbringen!", true},
        {"Tee: 5 min; dann [Pause]", true},
        {"*1", true},
        {"", false},
        {"a=b", false},
        {"=", false},
        {";Kommentar", false},
        {"[Clock]", false},
        {" vorne", false},
        {"hinten ", false},
        {"Zeile\nZeile", false},
        {"Tab\tTab", false},
        {"Euro \xE2\x82\xAC", false},      // beyond Latin-1
        {"kaputt \xC3", false},            // cut UTF-8
        {"\xC2\x85 Steuerzeichen", false}, // C1 control
        {"\xC1\x81 \xE0\x80\xBB", false},  // overlong
        {"\xED\xA0\x80", false},           // a surrogate
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_EQ(IsPlainHistoryKey(cases[i].text, kLatin1), cases[i].plain)
            << "case " << i << ": " << cases[i].text;
    }
}

TEST(AlarmHistory, PlainEntriesAreWrittenAsKeyAndPosition) {
    const auto lines = HistoryLines({"Aufstehen", "Zahnarzt", "Kaffee"}, kLatin1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].key, "Aufstehen");
    EXPECT_EQ(lines[0].value, "0");
    EXPECT_EQ(lines[1].key, "Zahnarzt");
    EXPECT_EQ(lines[1].value, "1");
    EXPECT_EQ(lines[2].key, "Kaffee");
    EXPECT_EQ(lines[2].value, "2");
}

TEST(AlarmHistory, TextsAKeyCannotHoldTravelInTheValue) {
    const List history{"a=b",      ";nicht kommentiert", "[Clock]",
                       "  Wort  ", "Euro \xE2\x82\xAC",  "100% \"sicher\" = gut",
                       "Normal"};
    const auto lines = HistoryLines(history, kLatin1);
    ASSERT_EQ(lines.size(), history.size());
    EXPECT_EQ(lines[0].key, "*0");
    EXPECT_EQ(lines[0].value, "0|a=b");
    EXPECT_EQ(lines[3].key, "*3");
    EXPECT_EQ(lines[3].value, "3|%20%20Wort%20%20");
    EXPECT_EQ(lines[5].value, "5|100%25 %22sicher%22 = gut");
    EXPECT_EQ(lines[6].key, "Normal");
    EXPECT_EQ(lines[6].value, "6");
    for (const HistoryLine& line : lines) {
        EXPECT_TRUE(IsPlainHistoryKey(line.key, kLatin1)) << line.key;
        for (char c : line.value) {
            EXPECT_TRUE(c >= 0x20 && c < 0x7F && c != '"') << line.value;
        }
    }
    EXPECT_EQ(ReadBack(lines), history);
}

TEST(AlarmHistory, EntriesEqualButForCaseKeepTheirOwnLines) {
    const List history{"Kaffee", "KAFFEE", "Ärger", "ärger"};
    const auto lines = HistoryLines(history, kLatin1);
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0].key, "Kaffee");
    EXPECT_EQ(lines[1].key, "*1");
    EXPECT_EQ(lines[2].key, "Ärger");
    EXPECT_EQ(lines[3].key, "*3");
    EXPECT_EQ(ReadBack(lines), history);
}

TEST(AlarmHistory, StandInKeysNeverMeetAPlainKey) {
    const List history{"*1", "a=b", "*1*"};
    const auto lines = HistoryLines(history, kLatin1);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].key, "*1");
    EXPECT_EQ(lines[1].key, "*1**");
    EXPECT_EQ(lines[2].key, "*1*");
    EXPECT_EQ(ReadBack(lines), history);
}

TEST(AlarmHistory, WhatStaysPlainOrIsEscapedFollowsTheFilesCodePage) {
    const struct {
        const char* text;
        const KeepsCharacter* keeps;
        bool plain;
        const char* escaped;
    } cases[] = {
        {"Grüße", &kLatin1, true, "Grüße"},
        {"Grüße", &kAscii, false, "Gr%C3%BC%C3%9Fe"},
        {"Grüße", &kUnicode, true, "Grüße"},
        {"Euro \xE2\x82\xAC", &kLatin1, false, "Euro %E2%82%AC"},
        {"Euro \xE2\x82\xAC", &kUnicode, true, "Euro \xE2\x82\xAC"},
        {"\xC2\x85 C1", &kUnicode, false, "%C2%85 C1"},
        {"kaputt \xC3", &kUnicode, false, "kaputt %C3"},
        {"\xC0\xBB \xED\xBF\xBF", &kUnicode, false, "%C0%BB %ED%BF%BF"},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        EXPECT_EQ(IsPlainHistoryKey(cases[i].text, *cases[i].keeps), cases[i].plain);
        EXPECT_EQ(EscapeHistoryText(cases[i].text, *cases[i].keeps), cases[i].escaped);
        EXPECT_EQ(UnescapeHistoryText(EscapeHistoryText(cases[i].text, *cases[i].keeps)),
                  cases[i].text);
    }
}

TEST(AlarmHistory, AMessageNoLineCanHoldPushesNoOtherOut) {
    List history;
    for (int i = 0; i < 20; ++i) {
        history.push_back("m" + std::to_string(i));
    }
    const List before = history;
    // Seven hundred CJK characters are nine escaped characters each in a Western file.
    std::string wide;
    for (int i = 0; i < 700; ++i) {
        wide += "\xE6\x97\xA5";
    }
    EXPECT_FALSE(RememberMessage(history, wide + "=", kLatin1));
    EXPECT_EQ(history, before);
    // A Unicode file keeps them; and umlauts are kept as they are, not escaped
    // to six characters each, so a long one still fits.
    EXPECT_TRUE(RememberMessage(history, wide + "=", kUnicode));
    const std::string umlauts = std::string(1500, 'a') + std::string(500, 'x') + "ä=";
    EXPECT_TRUE(RememberMessage(history, umlauts, kLatin1));
    const auto lines = HistoryLines(history, kLatin1);
    ASSERT_EQ(lines.size(), 19u) << "the CJK line does not fit this file";
    EXPECT_EQ(lines[0].value, "0|" + umlauts);
}

TEST(AlarmHistory, AnEntryTooLongToReadBackIsNotWritten) {
    const std::string longText(1000, '\x01');
    const auto lines = HistoryLines({"vorher", longText, "nachher"}, kLatin1);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].key, "vorher");
    EXPECT_EQ(lines[1].key, "nachher");
    EXPECT_EQ(lines[1].value, "2");
}

TEST(AlarmHistory, OldFilesReadAsTheyAlwaysDid) {
    // Keys with plain positions, and what an old file made of "a=b" (key "a").
    EXPECT_EQ(HistoryEntry("Aufstehen", "0"), "Aufstehen");
    EXPECT_EQ(HistoryEntry("a", "b=3"), "a");
    EXPECT_EQ(HistoryEntry("x", ""), "x");
    EXPECT_EQ(HistoryEntry("x", "|y"), "x");
    EXPECT_EQ(HistoryEntry("x", "1a|y"), "x");
    EXPECT_EQ(HistoryEntry("*4", "4|Tee %3D gut"), "Tee = gut");
}

TEST(AlarmHistory, BrokenEscapesStayAsTheyAre) {
    EXPECT_EQ(UnescapeHistoryText("100%"), "100%");
    EXPECT_EQ(UnescapeHistoryText("%4"), "%4");
    EXPECT_EQ(UnescapeHistoryText("%zz%41"), "%zzA");
    EXPECT_EQ(UnescapeHistoryText(EscapeHistoryText(" % \" \n ", kLatin1)), " % \" \n ");
}

TEST(AlarmHistory, ALastKeyNameCutByAFullBufferIsLeftOut) {
    // A buffer of 20 holds 18 characters and two terminators: the third name
    // was cut after its sixth character.
    List names{"aaaaa", "bbbbb", "cccccc"};
    EXPECT_EQ(WholeKeyNames(names, 100), names);
    EXPECT_EQ(WholeKeyNames(names, 20), (List{"aaaaa", "bbbbb"}));
    // UTF-8 "ä" is one UTF-16 character.
    List umlauts{"ääää", "b"};
    EXPECT_EQ(WholeKeyNames(umlauts, 10), umlauts);
    EXPECT_EQ(WholeKeyNames(umlauts, 9), (List{"ääää"}));
    EXPECT_TRUE(WholeKeyNames({}, 2).empty());
}
