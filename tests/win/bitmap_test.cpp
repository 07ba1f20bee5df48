#include "toolkit/bitmap.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(BitmapScaling, EachPixelBecomesASquareBlockOfItsOwnColour) {
    void* bits = nullptr;
    UniqueBitmap source = CreateBitmap32(2, 2, &bits);
    ASSERT_TRUE(source);
    auto* pixels = static_cast<std::uint32_t*>(bits);
    pixels[0] = 0x00FF0000; // red, top left
    pixels[1] = 0x0000FF00; // green, top right
    pixels[2] = 0x000000FF; // blue, bottom left
    pixels[3] = 0x00FFFFFF; // white, bottom right

    UniqueBitmap scaled = ScaleBitmapPixels(source.get(), 3);
    ASSERT_TRUE(scaled);
    BITMAP info{};
    ASSERT_TRUE(GetObjectW(scaled.get(), sizeof(info), &info));
    ASSERT_EQ(info.bmWidth, 6);
    ASSERT_EQ(info.bmHeight, 6);
    const auto* out = static_cast<const std::uint32_t*>(info.bmBits);
    const std::uint32_t expected[2][2] = {{0x00FF0000, 0x0000FF00}, {0x000000FF, 0x00FFFFFF}};
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 6; ++x) {
            EXPECT_EQ(out[y * 6 + x] & 0xFFFFFF, expected[y / 3][x / 3]) << x << "," << y;
        }
    }
    EXPECT_FALSE(ScaleBitmapPixels(source.get(), 0));
}
