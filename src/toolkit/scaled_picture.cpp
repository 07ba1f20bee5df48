#include "toolkit/scaled_picture.h"

#include "toolkit/bitmap.h"

void DrawPixelsScaled(HDC dc, int left, int top, HBITMAP picture, int factor) {
    UniqueBitmap scaled = ScaleBitmapPixels(picture, factor);
    BITMAP info{};
    if (!scaled || !GetObjectW(scaled.get(), sizeof(info), &info)) {
        return;
    }
    BitmapDc source(scaled.get());
    BitBlt(dc, left, top, info.bmWidth, info.bmHeight, source.get(), 0, 0, SRCCOPY);
}

void DrawIconScaled(HDC dc, int left, int top, HICON icon, int size, int factor) {
    if (!icon) {
        return;
    }
    if (factor == 1) {
        DrawIconEx(dc, left, top, icon, size, size, 0, nullptr, DI_NORMAL);
        return;
    }
    UniqueBitmap picture = CreateBitmap32(size, size);
    if (!picture) {
        return;
    }
    {
        // The background at its own size, so the icon's soft edges blend
        // into it as at 96 DPI.
        BitmapDc canvas(picture.get());
        SetStretchBltMode(canvas.get(), COLORONCOLOR);
        StretchBlt(canvas.get(), 0, 0, size, size, dc, left, top, size * factor, size * factor,
                   SRCCOPY);
        DrawIconEx(canvas.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    DrawPixelsScaled(dc, left, top, picture.get(), factor);
}
