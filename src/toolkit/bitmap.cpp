#include "toolkit/bitmap.h"

UniqueBitmap CreateBitmap32(int width, int height, void** bits) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    void* pixels = nullptr;
    UniqueBitmap bitmap(CreateDIBSection(nullptr, &format, DIB_RGB_COLORS, &pixels, nullptr, 0));
    if (bits) {
        *bits = pixels;
    }
    return bitmap;
}

UniqueBitmap ScaleBitmapPixels(HBITMAP source, int factor) {
    BITMAP info{};
    if (!source || factor < 1 || !GetObjectW(source, sizeof(info), &info)) {
        return UniqueBitmap();
    }
    const int width = info.bmWidth;
    const int height = info.bmHeight;
    // Read as 32-bit pixels whatever the source's own format.
    void* sourceBits = nullptr;
    UniqueBitmap plain = CreateBitmap32(width, height, &sourceBits);
    void* targetBits = nullptr;
    UniqueBitmap scaled = CreateBitmap32(width * factor, height * factor, &targetBits);
    if (!plain || !scaled) {
        return UniqueBitmap();
    }
    {
        BitmapDc from(source);
        BitmapDc to(plain.get());
        BitBlt(to.get(), 0, 0, width, height, from.get(), 0, 0, SRCCOPY);
    }
    GdiFlush();
    const auto* in = static_cast<const DWORD*>(sourceBits);
    auto* out = static_cast<DWORD*>(targetBits);
    const int scaledWidth = width * factor;
    for (int y = 0; y < height * factor; ++y) {
        const DWORD* row = in + (y / factor) * width;
        DWORD* target = out + y * scaledWidth;
        for (int x = 0; x < scaledWidth; ++x) {
            target[x] = row[x / factor];
        }
    }
    return scaled;
}

TBitmap::~TBitmap() {
    Deselect();
}

void TBitmap::Deselect() {
    if (canvas_ && previous_) {
        SelectObject(canvas_.get(), previous_);
        previous_ = nullptr;
    }
}

HDC TBitmap::Canvas() const {
    if (!handle_) {
        return nullptr;
    }
    if (!canvas_) {
        canvas_.reset(CreateCompatibleDC(nullptr));
    }
    if (!previous_) {
        previous_ = SelectObject(canvas_.get(), handle_.get());
    }
    return canvas_.get();
}

void TBitmap::SetSize(int width, int height) {
    if (handle_ && width == width_ && height == height_) {
        return;
    }
    Deselect();
    handle_ = CreateBitmap32(width, height);
    width_ = width;
    height_ = height;
}

void TBitmap::Assign(const TBitmap& source) {
    if (source.Empty()) {
        Clear();
        return;
    }
    SetSize(source.width_, source.height_);
    BitBlt(Canvas(), 0, 0, width_, height_, source.Canvas(), 0, 0, SRCCOPY);
}

void TBitmap::AssignHandle(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectW(source, sizeof(info), &info)) {
        Clear();
        return;
    }
    SetSize(info.bmWidth, info.bmHeight);
    BitmapDc from(source);
    BitBlt(Canvas(), 0, 0, width_, height_, from.get(), 0, 0, SRCCOPY);
}

void TBitmap::Clear() {
    Deselect();
    handle_.reset();
    width_ = 0;
    height_ = 0;
}
