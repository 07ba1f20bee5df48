#include "toolkit/image_list.h"

TImageList::~TImageList() {
    if (list_) {
        ImageList_Destroy(list_);
    }
}

bool TImageList::LoadStrip(const wchar_t* resourceName) {
    UniqueBitmap strip(static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), resourceName,
                                                       IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    if (!strip) {
        return false;
    }
    BITMAP info{};
    GetObjectW(strip.get(), sizeof(info), &info);
    if (list_) {
        ImageList_Destroy(list_);
    }
    list_ = ImageList_Create(width_, height_, ILC_COLOR32, info.bmWidth / width_, 0);
    return list_ && ImageList_Add(list_, strip.get(), nullptr) >= 0;
}

int TImageList::Count() const {
    return list_ ? ImageList_GetImageCount(list_) : 0;
}

bool TImageList::GetBitmap(int index, TBitmap& target) const {
    if (index < 0 || index >= Count()) {
        target.Clear();
        return false;
    }
    target.SetSize(width_, height_);
    BitmapDc dc(target.Handle());
    return ImageList_Draw(list_, index, dc.get(), 0, 0, ILD_NORMAL) != FALSE;
}
