#include "controls/richedit_viewer.h"

#include "controls/richedit_viewer_rules.h"
#include "toolkit/exceptions.h"
#include "toolkit/seams.h"
#include "toolkit/wide.h"

#include <richedit.h>

#include <fstream>
#include <iterator>
#include <vector>

namespace {

struct RichEditLibrary {
    HMODULE module = nullptr;
    int version = 0;
    int useCount = 0;
};

// One library for every viewer of the program, as the platform's class
// registration is program-wide too.
RichEditLibrary& Library() {
    static RichEditLibrary library;
    return library;
}

void LoadRichEdit() {
    RichEditLibrary& library = Library();
    if (library.useCount == 0) {
        library.version = 2;
        library.module = LoadLibraryW(L"RICHED20.DLL");
        if (!library.module) {
            library.version = 1;
            library.module = LoadLibraryW(L"RICHED32.DLL");
        }
    }
    ++library.useCount;
}

void UnloadRichEdit() {
    RichEditLibrary& library = Library();
    if (library.useCount > 0 && --library.useCount == 0) {
        if (library.module) {
            FreeLibrary(library.module);
        }
        library.module = nullptr;
    }
}

bool IsValidUtf8(const std::string& bytes) {
    return MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(),
                               static_cast<int>(bytes.size()), nullptr, 0) > 0 ||
           bytes.empty();
}

std::wstring Decode(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return Widen(bytes);
    }
    const int length =
        MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    std::wstring text(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(1252, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), length);
    return text;
}

} // namespace

TRichEditViewer::TRichEditViewer(TWinControl* parent, HWND parentWindow, int left, int top,
                                 int width, int height, int id)
    : TWinControl(parent, parentWindow), left_(left), top_(top), width_(width), height_(height),
      id_(id) {
    Make();
}

TRichEditViewer::~TRichEditViewer() {
    DestroyHandle();
    if (holdsLibrary_) {
        holdsLibrary_ = false;
        UnloadRichEdit();
    }
}

void TRichEditViewer::Make() {
    if (useRichEdit_ && !holdsLibrary_) {
        holdsLibrary_ = true;
        LoadRichEdit();
    }
    const bool rich = useRichEdit_ && Library().module;
    const wchar_t* className = !rich                    ? L"EDIT"
                               : Library().version == 2 ? RICHEDIT_CLASSW
                                                        : L"RICHEDIT";
    CreateWnd(className, "",
              WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP | WS_VSCROLL | ES_MULTILINE |
                  ES_READONLY | ES_AUTOVSCROLL,
              WS_EX_CLIENTEDGE, left_, top_, width_, height_, id_);
    // The controls' own limits lie far below what the viewer is given.
    if (rich) {
        SendMessageW(Handle(), EM_EXLIMITTEXT, 0, kMaxViewerText);
    } else {
        SendMessageW(Handle(), EM_SETLIMITTEXT, kMaxViewerText, 0);
    }
    if (rich && Library().version == 2) {
        const LRESULT mask = SendMessageW(Handle(), EM_GETEVENTMASK, 0, 0);
        SendMessageW(Handle(), EM_SETEVENTMASK, 0, mask | ENM_LINK);
        SendMessageW(Handle(), EM_AUTOURLDETECT, 1, 0);
    }
}

void TRichEditViewer::SetUseRichEdit(bool use) {
    if (use == useRichEdit_) {
        return;
    }
    useRichEdit_ = use;
    const std::string text = Text();
    DestroyHandle();
    if (!use && holdsLibrary_) {
        holdsLibrary_ = false;
        UnloadRichEdit();
    }
    Make();
    SetText(text);
}

void TRichEditViewer::SetText(const std::string& bytes) {
    if (ShowAsRichText(bytes) && useRichEdit_ && Library().module && Library().version == 2) {
        // Rich text goes in as bytes, so the control parses it rather than showing it.
        SETTEXTEX how{ST_DEFAULT, CP_ACP};
        SendMessageW(Handle(), EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how),
                     reinterpret_cast<LPARAM>(bytes.c_str()));
        return;
    }
    // Rich text the control must not parse is no use as source text either.
    const std::wstring text = StartsAsRtf(bytes) && !ShowAsRichText(bytes)
                                  ? Widen(kUnshownRichText)
                                  : Decode(ShownPlainText(bytes));
    SetWindowTextW(Handle(), text.c_str());
}

std::string TRichEditViewer::Text() const {
    const int length = GetWindowTextLengthW(Handle());
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = GetWindowTextW(Handle(), text.data(), length + 1);
    text.resize(static_cast<std::size_t>(std::max(copied, 0)));
    return Narrow(text);
}

void TRichEditViewer::LoadFromFile(const std::string& path) {
    std::ifstream file(Widen(path).c_str(), std::ios::binary);
    if (!file) {
        throw Exception("Die Datei \"" + path + "\" kann nicht geöffnet werden.");
    }
    std::string bytes(kMaxViewerText + 1, '\0');
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    SetText(bytes);
}

LRESULT TRichEditViewer::Notify(const NMHDR& header) {
    if (header.code == EN_LINK) {
        const auto& link = reinterpret_cast<const ENLINK&>(header);
        // Once per click: the release and the moves over the link do nothing.
        if (link.msg == WM_LBUTTONDOWN) {
            LinkClicked(link.chrg.cpMin, link.chrg.cpMax);
        }
    }
    return 0;
}

void TRichEditViewer::LinkClicked(LONG first, LONG last) {
    LONG length = last - first;
    if (first == 0 && last == -1) {
        length = static_cast<LONG>(SendMessageW(Handle(), WM_GETTEXTLENGTH, 0, 0));
    }
    if (length <= 0) {
        return;
    }
    std::vector<wchar_t> buffer(static_cast<std::size_t>(length) + 1, L'\0');
    TEXTRANGEW range{{first, last}, buffer.data()};
    const auto copied =
        SendMessageW(Handle(), EM_GETTEXTRANGE, 0, reinterpret_cast<LPARAM>(&range));
    const std::string address = Narrow(
        std::wstring_view(buffer.data(), static_cast<std::size_t>(std::max<LRESULT>(copied, 0))));
    if (!address.empty() && IsOpenableLink(address)) {
        seams::RunShell({Handle(), "open", address, "", SW_SHOWNORMAL});
    }
}

int TRichEditViewer::LibraryUseCount() {
    return Library().useCount;
}

int TRichEditViewer::LibraryVersion() {
    return Library().version;
}

bool TRichEditViewer::LibraryLoaded() {
    return Library().module != nullptr;
}
