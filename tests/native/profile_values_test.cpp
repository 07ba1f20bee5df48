#include "rules/profile_values.h"

#include <gtest/gtest.h>

#include <string>

TEST(ProfileInteger, ReadsDecimalWithBlanksAndSign) {
    EXPECT_EQ(ParseProfileInteger("42", 7), 42);
    EXPECT_EQ(ParseProfileInteger("   42", 7), 42);
    EXPECT_EQ(ParseProfileInteger("-30", 7), -30);
    EXPECT_EQ(ParseProfileInteger("+5", 7), 5);
    EXPECT_EQ(ParseProfileInteger("2147483647", 7), 2147483647);
    EXPECT_EQ(ParseProfileInteger("-2147483648", 7), -2147483647 - 1);
}

TEST(ProfileInteger, ReadsHexadecimalPrefixes) {
    EXPECT_EQ(ParseProfileInteger("0x20", 7), 32);
    EXPECT_EQ(ParseProfileInteger("0X1f", 7), 31);
    EXPECT_EQ(ParseProfileInteger("$10", 7), 16);
    EXPECT_EQ(ParseProfileInteger("-$10", 7), -16);
    EXPECT_EQ(ParseProfileInteger("$FFFFFFFF", 7), -1);
    EXPECT_EQ(ParseProfileInteger("  0x20", 7), 32);
}

TEST(ProfileInteger, AnythingElseGivesTheFallback) {
    const char* bad[] = {"",    " ",   "abc", "12a", "0x",         "$",           "-",
                         "1 2", "12 ", "0xG", "1.5", "2147483648", "-2147483649", "$100000000",
                         "0x",  "--1"};
    for (const char* text : bad) {
        EXPECT_EQ(ParseProfileInteger(text, 77), 77) << "text: '" << text << "'";
    }
    // "0x" alone is not long enough to be a hex prefix, and is no number either.
    EXPECT_EQ(ParseProfileInteger("0x", -1), -1);
}

TEST(ProfileInteger, LongTextOfDigitsOverflowsToTheFallback) {
    EXPECT_EQ(ParseProfileInteger(std::string(3000, '9'), 5), 5);
    EXPECT_EQ(ParseProfileInteger(std::string(3000, '0') + "12", 5), 12);
}

TEST(ProfileBool, NonZeroIsTrueAndWordsGiveTheFallback) {
    EXPECT_TRUE(ParseProfileBool("1", false));
    EXPECT_TRUE(ParseProfileBool("2", false));
    EXPECT_TRUE(ParseProfileBool("-1", false));
    EXPECT_FALSE(ParseProfileBool("0", true));
    EXPECT_FALSE(ParseProfileBool("yes", false));
    EXPECT_TRUE(ParseProfileBool("yes", true));
    EXPECT_TRUE(ParseProfileBool("", true));
    EXPECT_EQ(FormatProfileBool(true), "1");
    EXPECT_EQ(FormatProfileBool(false), "0");
}

TEST(KeyList, SplitsNulSeparatedNamesInOrder) {
    using namespace std::string_literals;
    EXPECT_EQ(SplitKeyList("b\0a\0c\0\0"s), (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_TRUE(SplitKeyList(""s).empty());
    EXPECT_TRUE(SplitKeyList("\0"s).empty());
    // A list cut short by the buffer keeps its last, shortened name.
    EXPECT_EQ(SplitKeyList("one\0tw"s), (std::vector<std::string>{"one", "tw"}));
}
