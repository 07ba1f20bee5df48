#include "rules/program_folder.h"
#include "toolkit/string_rules.h"

#include <gtest/gtest.h>

TEST(LowerAscii, FoldsOnlyAsciiLetters) {
    EXPECT_EQ(LowerAscii("TOP"), "top");
    EXPECT_EQ(LowerAscii("Taskbar"), "taskbar");
    EXPECT_EQ(LowerAscii("\xC3\x84RGER"), "\xC3\x84rger"); // Ä stays
}

TEST(Trim, RemovesBlanksAndControlCharactersAtBothEnds) {
    EXPECT_EQ(Trim("  Aufstehen!\t\r\n"), "Aufstehen!");
    EXPECT_EQ(Trim("   "), "");
    EXPECT_EQ(Trim("a b"), "a b");
}

TEST(LeftUtf8, NeverCutsACharacterInHalf) {
    EXPECT_EQ(LeftUtf8("LEDGruen", 20), "LEDGruen");
    EXPECT_EQ(LeftUtf8("abc", 2), "ab");
    EXPECT_EQ(LeftUtf8("a\xC3\xBC", 2), "a"); // ü would be cut
}

TEST(ProgramFolder, IsTheFolderWithItsBackslash) {
    EXPECT_EQ(FolderOfProgramFile("C:\\Programme\\Tikkora\\Tikkora.exe"),
              "C:\\Programme\\Tikkora\\");
    EXPECT_EQ(FolderOfProgramFile("C:\\Tikkora.exe"), "C:\\");
    EXPECT_EQ(FolderOfProgramFile("Tikkora.exe"), "\\");
}
