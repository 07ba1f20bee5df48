#pragma once
// A strip of equally sized glyphs, loaded from a bitmap resource and kept in a
// common-controls image list.
#include "toolkit/bitmap.h"

#include <commctrl.h>

class TImageList {
  public:
    TImageList(int width, int height) : width_(width), height_(height) {}
    ~TImageList();
    TImageList(const TImageList&) = delete;
    TImageList& operator=(const TImageList&) = delete;

    // Cuts a horizontal strip bitmap (a resource of this program) into glyphs.
    bool LoadStrip(const wchar_t* resourceName);
    int Count() const;
    int Width() const { return width_; }
    int Height() const { return height_; }

    // Sizes target to one glyph and draws glyph index into it; false when the
    // index is not in the list (the target is then left empty).
    bool GetBitmap(int index, TBitmap& target) const;

  private:
    int width_;
    int height_;
    HIMAGELIST list_ = nullptr;
};
