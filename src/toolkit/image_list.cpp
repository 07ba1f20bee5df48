#include "toolkit/image_list.h"

bool TImageList::LoadStrip(const wchar_t* resourceName) {
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), resourceName,
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    strip_.AssignHandle(strip.get());
    return !strip_.Empty();
}

bool TImageList::GetBitmap(int index, TBitmap& target) const {
    if (index < 0 || index >= Count()) {
        target.Clear();
        return false;
    }
    target.SetSize(width_, height_);
    return BitBlt(target.Canvas(), 0, 0, width_, height_, strip_.Canvas(), index * width_, 0,
                  SRCCOPY) != FALSE;
}
