#include "about/help_topics_rules.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

namespace {

const std::filesystem::path kHelpSources =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "resources" /
    "help";

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The named entities the pages use, as UTF-8; an unknown one fails the test.
std::string DecodeEntities(const std::string& html) {
    static const std::map<std::string, std::string> entities = {
        {"auml", "ä"}, {"ouml", "ö"},  {"uuml", "ü"},  {"Auml", "Ä"},  {"Ouml", "Ö"},
        {"Uuml", "Ü"}, {"szlig", "ß"}, {"bdquo", "„"}, {"ldquo", "“"}, {"ndash", "–"},
        {"amp", "&"},  {"lt", "<"},    {"gt", ">"},    {"quot", "\""},
    };
    std::string text;
    for (std::size_t i = 0; i < html.size(); ++i) {
        if (html[i] != '&') {
            text += html[i];
            continue;
        }
        const std::size_t end = html.find(';', i);
        const std::string name = html.substr(i + 1, end - i - 1);
        auto found = entities.find(name);
        if (end == std::string::npos || found == entities.end()) {
            ADD_FAILURE() << "unknown entity &" << name << ";";
            return text;
        }
        text += found->second;
        i = end;
    }
    return text;
}

std::string PopupParagraph(const std::string& page) {
    const std::string open = "<p class=\"popup\">";
    const std::size_t start = page.find(open);
    const std::size_t end = page.find("</p>", start);
    if (start == std::string::npos || end == std::string::npos) {
        return {};
    }
    return DecodeEntities(page.substr(start + open.size(), end - start - open.size()));
}

} // namespace

TEST(HelpTopics, EveryContextNumberInUseHasAText) {
    // The menu items, the clock itself, the about box's links, the alarm dialog.
    const int used[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 222, 31, 33, 34, 35, 36, 37, 38, 39};
    for (int context : used) {
        const HelpTopic* topic = FindHelpTopic(context);
        ASSERT_NE(topic, nullptr) << context;
        EXPECT_GT(std::string(topic->popup).size(), 20u) << context;
        EXPECT_EQ(HelpPopupText(context), topic->popup) << context;
    }
    EXPECT_EQ(HelpTopics().size(), std::size(used));
    for (int unknown : {0, -1, 13, 32, 221, 65536}) {
        EXPECT_EQ(FindHelpTopic(unknown), nullptr) << unknown;
        EXPECT_EQ(HelpPopupText(unknown), "Zu diesem Element gibt es keine Hilfe.") << unknown;
    }
}

TEST(HelpTopics, PagesCarryTheSamePopupTextsAndAreCompiledIn) {
    const std::string project = ReadFile(kHelpSources / "Tikkora.hhp");
    const std::string contents = ReadFile(kHelpSources / "Tikkora.hhc");
    const std::string index = ReadFile(kHelpSources / "index.htm");
    ASSERT_FALSE(project.empty()) << kHelpSources;
    for (const HelpTopic& topic : HelpTopics()) {
        const std::string page = ReadFile(kHelpSources / topic.page);
        ASSERT_FALSE(page.empty()) << topic.page;
        EXPECT_EQ(PopupParagraph(page), topic.popup) << topic.page;
        // Pages are written in windows-1252 with entities, so no byte is beyond ASCII.
        EXPECT_EQ(page.find_first_of("\x80\x81\xC3\xE2"), std::string::npos) << topic.page;
        EXPECT_NE(project.find(std::string("\n") + topic.page), std::string::npos) << topic.page;
        EXPECT_NE(contents.find(std::string("\"") + topic.page + "\""), std::string::npos)
            << topic.page;
        EXPECT_NE(index.find(std::string("href=\"") + topic.page + "\""), std::string::npos)
            << topic.page;
    }
    for (const char* page : {"nutzungsbedingungen.htm", "index.htm"}) {
        EXPECT_TRUE(std::filesystem::exists(kHelpSources / page)) << page;
        EXPECT_NE(project.find(std::string("\n") + page), std::string::npos) << page;
    }
    EXPECT_NE(project.find("Compiled file=Tikkora.chm"), std::string::npos);
}
