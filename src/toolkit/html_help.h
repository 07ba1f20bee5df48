#pragma once
// The HTML Help viewer (hhctrl.ocx), loaded by name on first use: contents,
// a topic page, and a plain-text pop-up at a screen point. Without the
// library every call returns false and nothing is shown.
#include "toolkit/gdi.h"

#include <windows.h>

#include <string>

enum class HtmlHelpCommand { Contents, Topic, TextPopup, CloseAll };

// One help request, complete enough that a test seam can record it instead of
// showing anything.
struct HtmlHelpRequest {
    HtmlHelpCommand command = HtmlHelpCommand::Contents;
    std::string file; // the .chm (Contents, Topic)
    std::string page; // Topic: a page inside the file
    std::string text; // TextPopup: UTF-8, plain text
    POINT at{};       // TextPopup: screen point of the pop-up's corner
    int context = 0;  // the context number the request answers, 0 for none
};

class THtmlHelp {
  public:
    THtmlHelp() = default;
    THtmlHelp(const THtmlHelp&) = delete;
    THtmlHelp& operator=(const THtmlHelp&) = delete;
    // Closes the viewer windows it opened before the library goes.
    ~THtmlHelp();

    // False when the library or the file is missing or the viewer refused.
    bool Run(HWND owner, const HtmlHelpRequest& request);
    bool Available();

  private:
    using HtmlHelpFunction = HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR);
    HtmlHelpFunction Function();

    UniqueLibrary library_;
    HtmlHelpFunction function_ = nullptr;
    bool loadTried_ = false;
    bool opened_ = false;
};
