#pragma once
// The online update: asks the update server whether a newer version exists,
// shows its notes, lets the user save the installer, downloads and checks it
// and offers to start it. Everything runs on the user-interface thread.
#include "settings/program_objects.h"
#include "update/update_rules.h"

#include <windows.h>

#include <functional>
#include <string>
#include <utility>

class TApplication;
class TSettingsFile;

// What an update run is given by the window that starts it.
struct UpdateEnvironment {
    UpdateEnvironment(TApplication& application, const TSettingsFile* settings,
                      std::string programFolder)
        : application(application), settings(settings), programFolder(std::move(programFolder)) {}

    TApplication& application;
    // Read for [OnlineUpdate] "Server"; may be null.
    const TSettingsFile* settings;
    // The program's folder, ending in "\": the temporary files lie there.
    std::string programFolder;
    // The window the run's boxes and dialog belong to, disabled while they
    // are up; the application's window when null.
    HWND owner = nullptr;
    // Called once, just before the run shows its first box or dialog.
    std::function<void()> beforeShowing;
    // How long any transfer may stay silent, and the versions file take in all.
    int silenceTimeOutMs = kSilenceTimeOutMs;
    int versionsDeadlineMs = kVersionsDeadlineMs;
    // How long the dialog is up before its downloads start (Timer1).
    int downloadDelayMs = 1000;
    // The run's flag and the update server's folder are the program's.
    ProgramObjects objects;
};

enum UpdateMode : int { ModeAsked = 0, ModeAutomatic = 1 };

// Mode 0 asks before connecting and reports every outcome; mode 1 shows
// nothing unless a newer version exists. Returns when the run is over; while
// one runs, another call does nothing.
void onlineupdate(int mode, const UpdateEnvironment& environment);
