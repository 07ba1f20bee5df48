// A development build's address leads nowhere: the automatic check neither
// looks it up nor connects, the manual one says so. A "Server" key leads to
// its server, by address or by name.
#include "net_test_server.h"
#include "settings/settings_file.h"
#include "temp_folder.h"
#include "tikkora_release.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "update/update.h"

#include <gtest/gtest.h>

TEST(UpdateServerSetUp, TheDevelopmentAddressIsNeverContactedAndAServerKeyIs) {
    if (TIKKORA_RELEASE_BUILD) {
        GTEST_SKIP() << "a release build has its update server";
    }
    const std::string noServer = "Für diese Programmversion ist kein Update-Server eingerichtet. "
                                 "\r\nDas Online-Update ist daher nicht verfügbar.";
    using Texts = std::vector<std::string>;
    const struct {
        int mode;
        std::string server; // a "Server" key, the test server's port after it
        Texts boxes, lookups;
        std::size_t requests;
    } cases[] = {
        {ModeAutomatic, "", {}, {}, 0},
        {ModeAsked, "", {noServer}, {}, 0},
        {ModeAutomatic, "http://127.0.0.1", {}, {}, 1},
        {ModeAutomatic, "http://mirror.tikkora.test", {}, {"mirror.tikkora.test"}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.mode) + " " + c.server);
        seams::TestSeams seams;
        NetTestServer server({NetTestServer::Reply("HTTP/1.0 404 Not Found\r\n\r\n")});
        Texts boxes, lookups;
        int dials = 0;
        seams::SetMessageBoxResponderForTest([&](const seams::MessageBoxCall& call) {
            boxes.push_back(call.text);
            EXPECT_EQ(call.flags, static_cast<UINT>(MB_ICONINFORMATION));
            return IDOK;
        });
        seams::SetHostLookupForTest([&](const std::string& name) {
            lookups.push_back(name);
            return std::string("127.0.0.1");
        });
        seams::SetDialInternetForTest([&](HWND) { ++dials; });
        TempFolder folder;
        folder.Write("Tikkora.ini", c.server.empty()
                                        ? ""
                                        : "[OnlineUpdate]\r\nServer=" + c.server + ":" +
                                              std::to_string(server.Port()) + "/tikkora\r\n");
        TSettingsFile settings(folder.File("Tikkora.ini"));
        onlineupdate(c.mode, UpdateEnvironment{*Application, &settings, folder.Path()});
        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(lookups, c.lookups);
        EXPECT_EQ(server.Requests().size(), c.requests);
        EXPECT_EQ(dials, c.requests > 0 ? 1 : 0);
        EXPECT_FALSE(UpdateRunning);
    }
}
