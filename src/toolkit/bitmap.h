#pragma once
// A device-dependent bitmap of a given size that can be drawn into and copied.
#include "toolkit/gdi.h"

class TBitmap {
  public:
    TBitmap() = default;
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // Resizes to width × height; the content is undefined afterwards.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !handle_; }
    HBITMAP Handle() const { return handle_.get(); }

    // Takes a copy of another bitmap's pixels and size.
    void Assign(const TBitmap& source);
    // Takes a copy of a bitmap handle that stays the caller's.
    void AssignHandle(HBITMAP source);
    void Clear();

  private:
    UniqueBitmap handle_;
    int width_ = 0;
    int height_ = 0;
};

// A memory DC with a bitmap selected for the DC's lifetime.
class BitmapDc {
  public:
    explicit BitmapDc(HBITMAP bitmap)
        : dc_(CreateCompatibleDC(nullptr)), select_(dc_.get(), bitmap) {}
    HDC get() const { return dc_.get(); }

  private:
    UniqueMemoryDc dc_;
    SelectGuard select_;
};
