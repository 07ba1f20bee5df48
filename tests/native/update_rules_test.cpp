#include "update/update_rules.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

TEST(UpdateVersionNumber, ReadsTheFormsOfADecimalNumberWithAPoint) {
    const struct {
        const char* text;
        double value;
    } cases[] = {{"2.4", 2.4},  {"  2.40", 2.4}, {"+3", 3.0},  {"2.10", 2.1},      {"2.41", 2.41},
                 {"1e1", 10.0}, {"25E-1", 2.5},  {"-0", -0.0}, {"-1", kNoVersion}, {"0.5e+1", 5.0}};
    for (const auto& c : cases) {
        EXPECT_DOUBLE_EQ(ParseVersionNumber(c.text), c.value) << c.text;
    }
}

TEST(UpdateVersionNumber, AnythingElseIsNoVersion) {
    for (const char* text : {"", "abc", "1e999", "-1e999", "2,4", "2.", ".5", "2.4 ", "2.4x", "1e",
                             "1e+", "--1", "\t2.4", "0x10", "inf", "nan"}) {
        EXPECT_EQ(ParseVersionNumber(text), kNoVersion) << '"' << text << '"';
    }
}

TEST(UpdateVersionNumber, ThePointIsTheSeparatorWhateverTheLocale) {
    // A locale with a decimal comma, where the system has one.
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8")) {
        std::setlocale(LC_NUMERIC, "de_DE");
    }
    const double value = ParseVersionNumber("2.41");
    const double comma = ParseVersionNumber("2,41");
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_DOUBLE_EQ(value, 2.41);
    EXPECT_EQ(comma, kNoVersion);
}

TEST(UpdateVersionNumber, OnlyAGreaterNumberIsNewer) {
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("2.4")), VersionVerdict::AlreadyNewest);
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("2.40")), VersionVerdict::AlreadyNewest);
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("2.10")), VersionVerdict::AlreadyNewest);
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("-0")), VersionVerdict::AlreadyNewest);
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("2.41")), VersionVerdict::Newer);
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("3")), VersionVerdict::Newer);
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("abc")), VersionVerdict::NoInformation);
    EXPECT_EQ(JudgeVersion(ParseVersionNumber("-1")), VersionVerdict::NoInformation);
}

TEST(UpdateServerNames, OnlyPlainFileNamesPass) {
    for (const char* name : {"Tikkora-Setup-2.5.exe", "console.exe", "nulls.rtf", "COM10.exe",
                             "LPT.exe", "COM0.exe", "aux-info.rtf", "a b.rtf"}) {
        EXPECT_TRUE(IsPlainFileName(name)) << name;
    }
    EXPECT_TRUE(IsPlainFileName(std::string(200, 'a')));
    EXPECT_FALSE(IsPlainFileName(std::string(201, 'a')));
    for (const char* name :
         {"",           "a/b.exe",  "a\\b.exe",          "C:setup.exe", "..exe",
          "a..b",       "a\nb",     "\\\\server\\share", "a\x7f.exe",   "setup.exe.",
          "setup.exe ", "*.exe",    "set?up.exe",        "a<b>.rtf",    "a|b",
          "a\"b",       "CON",      "nul.exe",           "Com1",        "LPT9.txt",
          "prn.tar.gz", "aux .rtf", "conout$.exe",       "COM\xC2\xB9", "lpt\xC2\xB3.exe"}) {
        EXPECT_FALSE(IsPlainFileName(name)) << name;
    }
}

TEST(UpdateServerNames, TheServerKeyReplacesTheDefaultOnlyWhenUsable) {
    EXPECT_EQ(ChooseUpdateBaseUrl("http://127.0.0.1:8080"), "http://127.0.0.1:8080");
    EXPECT_EQ(ChooseUpdateBaseUrl("http://mirror.example/tikkora"),
              "http://mirror.example/tikkora");
    for (const char* bad :
         {"", "http://", "http://host/", "https://host", "ftp://host", "http:///path",
          "http://ho st", "host/path", "http://host\x01/x", "http://host/a\x7f", "http://ho\x1bst",
          "http://host/a\tb", "http://host\r\nX: y"}) {
        EXPECT_EQ(ChooseUpdateBaseUrl(bad), kDefaultUpdateBaseUrl) << bad;
    }
}

TEST(UpdateSignature, TheMessageBindsSectionVersionNamesAndHashes) {
    const std::string start = "Tikkora update v2\nsection=Tikkora\nversion=2.5\nfile1=setup.exe\n";
    EXPECT_EQ(SignedUpdateMessage("Tikkora", "2.5", "setup.exe", "ab12", "notes.rtf", "cd34"),
              start + "sha256=ab12\ninfos=notes.rtf\ninfos_sha256=cd34\n");
    // From an entry as read: the hashes in lower case whatever the file says.
    const std::string a(64, 'A'), b(64, 'B'), signature(128, '2');
    const VersionsEntry entry{"2.5", "setup.exe", "notes.rtf", a, signature, b};
    EXPECT_EQ(SignedUpdateMessage(entry, *CheckEntryForm(entry)),
              start + "sha256=" + std::string(64, 'a') +
                  "\ninfos=notes.rtf\ninfos_sha256=" + std::string(64, 'b') + "\n");
    const VersionsEntry bare{"2.5", "setup.exe", "", a, signature, ""};
    EXPECT_EQ(SignedUpdateMessage(bare, *CheckEntryForm(bare)),
              start + "sha256=" + std::string(64, 'a') + "\ninfos=\ninfos_sha256=\n");
}

TEST(UpdateSignature, HexIsExactInLengthAndDigits) {
    const std::string digest(64, 'A');
    ASSERT_TRUE(ParseDigestHex(digest));
    EXPECT_EQ((*ParseDigestHex(digest))[31], 0xAA);
    EXPECT_EQ(ToHex(ParseDigestHex(digest)->data(), 32), std::string(64, 'a'));
    EXPECT_FALSE(ParseDigestHex(std::string(63, 'a')));
    EXPECT_FALSE(ParseDigestHex(std::string(66, 'a')));
    EXPECT_FALSE(ParseDigestHex(std::string(63, 'a') + "g"));
    EXPECT_TRUE(ParseSignatureHex(std::string(128, '0')));
    EXPECT_FALSE(ParseSignatureHex(std::string(64, '0')));
}

TEST(UpdateSignature, AnEntryNeedsPlainNamesHashesAndASignature) {
    const std::string hash(64, '1');
    const std::string signature(128, '2');
    EXPECT_TRUE(CheckEntryForm({"2.5", "setup.exe", "notes.rtf", hash, signature, hash}));
    EXPECT_FALSE(CheckEntryForm({"2.5", "setup.exe", "", hash, signature, ""})->infosSha256);
    const struct {
        const char* what;
        VersionsEntry entry;
    } bad[] = {
        {"unsigned", {"2.5", "setup.exe", "notes.rtf", hash, "", hash}},
        {"no hash", {"2.5", "setup.exe", "notes.rtf", "", signature, hash}},
        {"path", {"2.5", "../setup.exe", "notes.rtf", hash, signature, hash}},
        {"notes path", {"2.5", "setup.exe", "x/n.rtf", hash, signature, hash}},
        {"notes without hash", {"2.5", "setup.exe", "notes.rtf", hash, signature, ""}},
        {"hash of no notes", {"2.5", "setup.exe", "", hash, signature, hash}},
    };
    for (const auto& c : bad) {
        EXPECT_FALSE(CheckEntryForm(c.entry)) << c.what;
    }
}
