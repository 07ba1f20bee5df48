#pragma once
// Hints: a tooltip window that shows a text while the mouse rests on a
// window or on a rectangle of one. Used by the drop-down button and by the
// windowless elements of the about box.
#include <windows.h>

#include <string>

class TToolHint {
  public:
    // owner: the window whose mouse messages the tooltip watches.
    explicit TToolHint(HWND owner);
    ~TToolHint();
    TToolHint(const TToolHint&) = delete;
    TToolHint& operator=(const TToolHint&) = delete;

    // A hint over area (client coordinates of the owner); id tells the areas apart.
    void SetAreaHint(UINT id, const RECT& area, const std::string& text);
    // A hint over the whole owner window; an empty text removes it.
    void SetWindowHint(const std::string& text);
    // Hands the tooltip a mouse message of the owner that came before it was watching.
    void Relay(UINT message, WPARAM wParam, LPARAM lParam);
    HWND Handle() const { return tooltip_; }

  private:
    void Remove(UINT flags, UINT_PTR id);

    HWND owner_;
    HWND tooltip_ = nullptr;
};
