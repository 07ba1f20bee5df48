#pragma once
// A panel: a child window with a background colour and an optional lowered
// bevel, holding picture cells that it paints itself (cells have no window of
// their own; a clock has dozens of them and they change every second).
#include "toolkit/bitmap.h"
#include "toolkit/window.h"

#include <functional>
#include <vector>

class TPanel;

// Where a cell's picture came from: a strip and a glyph of it.
struct TImageSource {
    const void* strip = nullptr;
    int index = -1;
    bool operator==(const TImageSource&) const = default;
};

// One picture shown unscaled from its top-left corner, clipped to the cell.
class TImage {
  public:
    TImage(TPanel& parent, int left, int top, int width, int height);
    TImage(const TImage&) = delete;
    TImage& operator=(const TImage&) = delete;

    // Takes a copy of the picture and repaints the cell. The source names where
    // the picture came from, so that a caller can leave a cell alone that
    // already shows it.
    using Source = TImageSource;
    void Assign(const TBitmap& picture, Source source = {});
    bool Shows(Source source) const { return source.strip && source == source_; }
    // The glyph index the cell shows; -1 when it is empty.
    int ShownIndex() const { return source_.index; }
    // Empties the cell; the panel's colour shows through.
    void Clear();
    bool HasPicture() const { return !picture_.Empty(); }
    const TBitmap& Picture() const { return picture_; }

    void SetVisible(bool visible);
    bool Visible() const { return visible_; }
    void SetBounds(int left, int top, int width, int height);
    RECT Bounds() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }

    void Paint(HDC dc) const;

  private:
    void Invalidate() const;

    TPanel& parent_;
    int left_, top_, width_, height_;
    bool visible_ = true;
    TBitmap picture_;
    Source source_;
};

enum class TBevel { None, Lowered };

class TPanel : public TWindow {
  public:
    TPanel(HWND parent, int left, int top, int width, int height, TBevel bevel);

    void SetColor(COLORREF color);
    COLORREF Color() const { return color_; }
    // The outer bevel lies at the panel's edge, the inner one a pixel inside it.
    void SetBevel(TBevel bevel);
    void SetBevelInner(TBevel bevel);
    // Each bevel is this many pixels wide (the scale factor of a denser screen).
    void SetBevelWidth(int pixels);
    void SetBounds(int left, int top, int width, int height);
    RECT Bounds() const;
    void SetVisible(bool visible);
    bool Visible() const;

    // Runs on a double click on the panel or any of its cells.
    std::function<void()> OnDblClick;
    // Runs on a right click, with the screen point.
    std::function<void(int x, int y)> OnContextPopup;

  private:
    friend class TImage;
    void AddImage(TImage* image) { images_.push_back(image); }
    bool PaintsClient() const override { return true; }
    // Paints area of the panel into target (a paint DC, a DC to print into, or the window's own).
    void PaintClient(HDC target, const RECT& area) override;
    // Paints area onto the window at once.
    void PaintNow(const RECT& area);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    COLORREF color_ = GetSysColor(COLOR_BTNFACE);
    TBevel bevel_;
    TBevel bevelInner_ = TBevel::None;
    int bevelWidth_ = 1;
    std::vector<TImage*> images_;
    // The off-screen picture of the last paint, kept for the next one.
    TBitmap buffer_;
    UniqueBrush brush_;
    COLORREF brushColor_ = 0;
};
