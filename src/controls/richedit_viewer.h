#pragma once
// TRichEditViewer: a read-only multi-line text control backed by the
// system's rich edit control (loaded at run time, shared by all viewers),
// so formatted text shows formatted; a click on a detected address opens it
// through the shell when it is a web or mail address. Without rich edit, or
// with UseRichEdit off, it is a plain multi-line edit.
#include "toolkit/controls.h"

#include <string>

class TRichEditViewer : public TWinControl {
  public:
    TRichEditViewer(TWinControl* parent, HWND parentWindow, int left, int top, int width,
                    int height, int id);
    ~TRichEditViewer() override;

    bool UseRichEdit() const { return useRichEdit_; }
    // Makes the window anew as the other variant; off gives back the library.
    void SetUseRichEdit(bool use);
    bool HoldsLibrary() const { return holdsLibrary_; }

    // The whole text: one that begins as rich text shows formatted (unless too
    // large or too deeply nested), any other as plain text. Bytes are UTF-8,
    // or Windows-1252 when they are no valid UTF-8.
    void SetText(const std::string& bytes);
    std::string Text() const;
    // Loads a file as SetText does; throws the toolkit's Exception when it cannot be read.
    void LoadFromFile(const std::string& path);

    // The library shared by all viewers: how many hold it, and which was loaded
    // (2 for RICHED20.DLL, 1 for RICHED32.DLL, 0 before the first).
    static int LibraryUseCount();
    static int LibraryVersion();
    static bool LibraryLoaded();

  protected:
    LRESULT Notify(const NMHDR& header) override;

  private:
    void Make();
    void LinkClicked(LONG first, LONG last);

    bool useRichEdit_ = true;
    bool holdsLibrary_ = false;
    int left_, top_, width_, height_, id_;
};
