#include "toolkit/image_list.h"

bool TImageList::LoadStrip(const wchar_t* resourceName, int factor) {
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), resourceName,
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    factor_ = factor;
    if (strip && factor > 1) {
        strip = ScaleBitmapPixels(strip.get(), factor);
    }
    strip_.AssignHandle(strip.get());
    return !strip_.Empty();
}

bool TImageList::GetBitmap(int index, TBitmap& target) const {
    if (index < 0 || index >= Count()) {
        target.Clear();
        return false;
    }
    target.SetSize(Width(), Height());
    return BitBlt(target.Canvas(), 0, 0, Width(), Height(), strip_.Canvas(), index * Width(), 0,
                  SRCCOPY) != FALSE;
}
