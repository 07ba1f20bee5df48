#pragma once
// A window's client area as WM_PRINTCLIENT paints it, read back as COLORREFs,
// so pixel checks need neither a visible window nor a screen.
#include "toolkit/bitmap.h"

#include <windows.h>

#include <cstdint>
#include <vector>

class Printed {
  public:
    Printed(HWND window, int width, int height) : width_(width), height_(height) {
        void* bits = nullptr;
        UniqueBitmap bitmap = CreateBitmap32(width, height, &bits);
        UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), bitmap.get());
        SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc.get()), PRF_CLIENT);
        GdiFlush();
        const auto* pixels = static_cast<const std::uint32_t*>(bits);
        pixels_.assign(pixels, pixels + width * height);
    }
    COLORREF At(int x, int y) const {
        const std::uint32_t p = pixels_[static_cast<std::size_t>(y * width_ + x)];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    int Count(const RECT& area, COLORREF color) const {
        int count = 0;
        for (int y = area.top; y < area.bottom && y < height_; ++y) {
            for (int x = area.left; x < area.right && x < width_; ++x) {
                count += At(x, y) == color ? 1 : 0;
            }
        }
        return count;
    }
    int Count(COLORREF color) const { return Count(RECT{0, 0, width_, height_}, color); }

  private:
    int width_, height_;
    std::vector<std::uint32_t> pixels_;
};
