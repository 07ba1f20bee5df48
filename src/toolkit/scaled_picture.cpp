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

void DrawIconScaled(HDC dc, int left, int top, HICON icon, int size, COLORREF background,
                    int factor) {
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
        BitmapDc canvas(picture.get());
        UniqueBrush fill(CreateSolidBrush(background));
        const RECT area{0, 0, size, size};
        FillRect(canvas.get(), &area, fill.get());
        DrawIconEx(canvas.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    }
    DrawPixelsScaled(dc, left, top, picture.get(), factor);
}
