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
