#pragma once
// A plain RGB(A) raster and the file formats the resource compiler embeds:
// BMP (32-bit, and 4-bit with a palette) and ICO.
#include <cstdint>
#include <string>
#include <vector>

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0, a = 255;
    bool operator==(const Rgb&) const = default;
};

class Image {
  public:
    Image(int width, int height, Rgb fill = {});
    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    const Rgb& at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
    void set(int x, int y, Rgb colour) {
        if (contains(x, y)) {
            at(x, y) = colour;
        }
    }
    void fillRect(int left, int top, int right, int bottom, Rgb colour);
    // Copies source into this image with its top-left corner at (x, y).
    void blit(const Image& source, int x, int y);

  private:
    int width_;
    int height_;
    std::vector<Rgb> pixels_;
};

// File images as byte vectors, so tests can look at them without a disk.
std::vector<std::uint8_t> EncodeBmp32(const Image& image);
// Every colour of the image must be in the palette (at most 16 entries).
std::vector<std::uint8_t> EncodeBmp4(const Image& image, const std::vector<Rgb>& palette);
// One 32-bit entry per image; alpha is kept, the AND mask is derived from it.
std::vector<std::uint8_t> EncodeIco(const std::vector<Image>& images);

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
