#include "toolkit/html_help.h"

#include "toolkit/wide.h"

#include <htmlhelp.h>

THtmlHelp::~THtmlHelp() {
    if (opened_ && function_) {
        function_(nullptr, nullptr, HH_CLOSE_ALL, 0);
    }
}

THtmlHelp::HtmlHelpFunction THtmlHelp::Function() {
    if (!loadTried_) {
        loadTried_ = true;
        library_.reset(LoadLibraryW(L"hhctrl.ocx"));
        if (library_) {
            function_ = reinterpret_cast<HtmlHelpFunction>(
                reinterpret_cast<void*>(GetProcAddress(library_.get(), "HtmlHelpW")));
        }
    }
    return function_;
}

bool THtmlHelp::Available() {
    return Function() != nullptr;
}

bool THtmlHelp::Run(HWND owner, const HtmlHelpRequest& request) {
    HtmlHelpFunction help = Function();
    if (!help) {
        return false;
    }
    switch (request.command) {
    case HtmlHelpCommand::Contents: {
        // The viewer shows an empty frame for a missing file; report it instead.
        const std::wstring file = Widen(request.file);
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return false;
        }
        opened_ = true;
        return help(owner, file.c_str(), HH_DISPLAY_TOC, 0) != nullptr;
    }
    case HtmlHelpCommand::Topic: {
        const std::wstring file = Widen(request.file);
        if (GetFileAttributesW(file.c_str()) == INVALID_FILE_ATTRIBUTES) {
            return false;
        }
        const std::wstring url = Widen(request.file + "::/" + request.page);
        opened_ = true;
        return help(owner, url.c_str(), HH_DISPLAY_TOPIC, 0) != nullptr;
    }
    case HtmlHelpCommand::TextPopup: {
        const std::wstring text = Widen(request.text);
        HH_POPUP popup{};
        popup.cbStruct = sizeof(popup);
        popup.pszText = text.c_str();
        popup.pt = request.at;
        // The system's tooltip colours; -1 asks for the default margins.
        popup.clrForeground = static_cast<COLORREF>(-1);
        popup.clrBackground = static_cast<COLORREF>(-1);
        popup.rcMargins = RECT{-1, -1, -1, -1};
        return help(owner, nullptr, HH_DISPLAY_TEXT_POPUP, reinterpret_cast<DWORD_PTR>(&popup)) !=
               nullptr;
    }
    case HtmlHelpCommand::CloseAll:
        if (opened_) {
            help(nullptr, nullptr, HH_CLOSE_ALL, 0);
            opened_ = false;
        }
        return true;
    }
    return false;
}
