#pragma once
// A 32-bit bitmap of a given size that can be drawn into and copied.
// It keeps a memory DC with itself selected (its canvas), because the glyph
// copies of every tick would otherwise make and drop DCs by the dozen.
#include "toolkit/gdi.h"

// A 32-bit top-down bitmap (a DIB section) of that size, all black; made
// without a screen DC, which the window system is slow to hand out. Null on
// failure. bits, when given, receives its pixels (0x00RRGGBB each).
UniqueBitmap CreateBitmap32(int width, int height, void** bits = nullptr);

// A copy of a bitmap with each pixel made a factor × factor block of its
// colour: never smoothed, so digits and faces stay as sharp as at 96 DPI.
// Null on failure; a copy of the same size for a factor of 1.
UniqueBitmap ScaleBitmapPixels(HBITMAP source, int factor);

class TBitmap {
  public:
    TBitmap() = default;
    ~TBitmap();
    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;

    // Resizes to width × height; the content is undefined afterwards.
    void SetSize(int width, int height);
    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return !handle_; }
    // Selected into the canvas: draw through Canvas(), never select it elsewhere.
    HBITMAP Handle() const { return handle_.get(); }
    // The memory DC the bitmap is selected into; null while it is empty.
    HDC Canvas() const;

    // Takes a copy of another bitmap's pixels and size.
    void Assign(const TBitmap& source);
    // Takes a copy of a bitmap handle that stays the caller's (and must not
    // be selected into a DC).
    void AssignHandle(HBITMAP source);
    void Clear();

  private:
    void Deselect();

    UniqueBitmap handle_;
    mutable UniqueMemoryDc canvas_;
    mutable HGDIOBJ previous_ = nullptr;
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
