#pragma once
// A control of a system class as a screen reader gets it from the system,
// under a name the program gives: for a field whose label the system's own
// object does not find.
#include <windows.h>

#include <string>

// WM_GETOBJECT of such a control: for OBJID_CLIENT the system's object with
// that name; 0 (the system's answer) for every other object.
LRESULT AnswerWithName(HWND control, WPARAM wParam, LPARAM lParam, const std::string& name);
