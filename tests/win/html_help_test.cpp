// The HTML Help caller: a missing help file is reported, not shown as an
// empty viewer, and the text pop-up reaches the viewer library.
#include "toolkit/html_help.h"

#include <gtest/gtest.h>

TEST(HtmlHelp, MissingFileFailsQuietlyAndPopupsNeedNoFile) {
    THtmlHelp help;
    ASSERT_TRUE(help.Available()) << "hhctrl.ocx is part of every Windows since 98";
    struct Case {
        HtmlHelpCommand command;
        const char* page;
    } cases[] = {{HtmlHelpCommand::Contents, ""}, {HtmlHelpCommand::Topic, "wecker.htm"}};
    for (const Case& c : cases) {
        HtmlHelpRequest request;
        request.command = c.command;
        request.file = "C:\\gibt-es-nicht\\Tikkora.chm";
        request.page = c.page;
        EXPECT_FALSE(help.Run(nullptr, request)) << static_cast<int>(c.command);
    }
    EXPECT_EQ(FindWindowW(L"HH Parent", nullptr), nullptr);
    HtmlHelpRequest close;
    close.command = HtmlHelpCommand::CloseAll;
    EXPECT_TRUE(help.Run(nullptr, close));
}
