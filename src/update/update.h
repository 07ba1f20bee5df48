#pragma once
// The online update: asks the update server whether a newer version exists,
// shows its notes, lets the user save the installer, downloads and checks it
// and offers to start it. Everything runs on the user-interface thread.
#include <string>

class TApplication;
class TSettingsFile;

// What an update run is given by the window that starts it.
struct UpdateEnvironment {
    TApplication& application;
    // Read for [OnlineUpdate] "Server"; may be null.
    const TSettingsFile* settings;
    // The program's folder, ending in "\": the temporary files lie there.
    std::string programFolder;
};

// An update run is under way; the automatic check does nothing meanwhile.
extern bool UpdateRunning;
// The folder on the update server, "http://..." without a trailing "/".
extern std::string UpdateBaseUrl;

enum UpdateMode : int { ModeAsked = 0, ModeAutomatic = 1 };

// Mode 0 asks before connecting and reports every outcome; mode 1 shows
// nothing unless a newer version exists. Returns when the run is over.
void onlineupdate(int mode, const UpdateEnvironment& environment);
