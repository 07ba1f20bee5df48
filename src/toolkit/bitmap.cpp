#include "toolkit/bitmap.h"

void TBitmap::SetSize(int width, int height) {
    if (handle_ && width == width_ && height == height_) {
        return;
    }
    WindowDc screen(nullptr);
    handle_.reset(CreateCompatibleBitmap(screen.get(), width, height));
    width_ = width;
    height_ = height;
}

void TBitmap::Assign(const TBitmap& source) {
    if (source.Empty()) {
        Clear();
        return;
    }
    SetSize(source.width_, source.height_);
    BitmapDc from(source.Handle());
    BitmapDc to(Handle());
    BitBlt(to.get(), 0, 0, width_, height_, from.get(), 0, 0, SRCCOPY);
}

void TBitmap::AssignHandle(HBITMAP source) {
    BITMAP info{};
    if (!source || !GetObjectW(source, sizeof(info), &info)) {
        Clear();
        return;
    }
    SetSize(info.bmWidth, info.bmHeight);
    BitmapDc from(source);
    BitmapDc to(Handle());
    BitBlt(to.get(), 0, 0, width_, height_, from.get(), 0, 0, SRCCOPY);
}

void TBitmap::Clear() {
    handle_.reset();
    width_ = 0;
    height_ = 0;
}
