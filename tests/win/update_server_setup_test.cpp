// A development build has no update server: the automatic check neither looks
// its built-in name up nor connects, the manual one says so. A "Server" key
// still leads to a real server, by address or by name.
#include "net_test_server.h"
#include "settings/settings_file.h"
#include "temp_folder.h"
#include "tikkora_release.h"
#include "toolkit/application.h"
#include "toolkit/seams.h"
#include "update/update.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(UpdateServerSetUp, TheDevelopmentAddressIsNeverContactedAndAServerKeyIs) {
    if (TIKKORA_RELEASE_BUILD) {
        GTEST_SKIP() << "a release build has its update server";
    }
    const std::string noServer = "Für diese Programmversion ist kein Update-Server eingerichtet. "
                                 "\r\nDas Online-Update ist daher nicht verfügbar.";
    struct Case {
        int mode;
        // "%s" stands for the loopback server's port.
        std::string serverKey;
        std::vector<std::string> boxes;
        std::vector<std::string> lookups;
        std::size_t requests;
    };
    const std::vector<Case> cases = {
        {ModeAutomatic, "", {}, {}, 0},
        {ModeAsked, "", {noServer}, {}, 0},
        {ModeAutomatic, "http://127.0.0.1:%s/tikkora", {}, {}, 1},
        {ModeAutomatic, "http://mirror.tikkora.test:%s/tikkora", {}, {"mirror.tikkora.test"}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.mode);
        SCOPED_TRACE(c.serverKey);
        seams::TestSeams seams;
        NetTestServer server({NetTestServer::Reply("HTTP/1.0 404 Not Found\r\n\r\n")});
        std::vector<std::string> boxes;
        std::vector<std::string> lookups;
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
        std::string key = c.serverKey;
        if (const auto at = key.find("%s"); at != std::string::npos) {
            key.replace(at, 2, std::to_string(server.Port()));
        }
        folder.Write("Tikkora.ini", key.empty() ? "" : "[OnlineUpdate]\r\nServer=" + key + "\r\n");
        TSettingsFile settings(folder.File("Tikkora.ini"));
        onlineupdate(c.mode, UpdateEnvironment{*Application, &settings, folder.Path()});

        EXPECT_EQ(boxes, c.boxes);
        EXPECT_EQ(lookups, c.lookups);
        EXPECT_EQ(server.Requests().size(), c.requests);
        EXPECT_EQ(dials, c.requests > 0 ? 1 : 0);
        EXPECT_FALSE(UpdateRunning);
    }
}
