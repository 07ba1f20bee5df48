#include "image.h"

#include <fstream>
#include <stdexcept>

namespace {

void Put16(std::vector<std::uint8_t>& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

void PutInfoHeader(std::vector<std::uint8_t>& out, int width, int height, int bits,
                   std::uint32_t imageSize, std::uint32_t paletteSize) {
    Put32(out, 40);
    Put32(out, static_cast<std::uint32_t>(width));
    Put32(out, static_cast<std::uint32_t>(height));
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(bits));
    Put32(out, 0); // BI_RGB
    Put32(out, imageSize);
    Put32(out, 2835); // 72 dpi
    Put32(out, 2835);
    Put32(out, paletteSize);
    Put32(out, 0);
}

void PutFileHeader(std::vector<std::uint8_t>& out, std::uint32_t fileSize, std::uint32_t offset) {
    out.push_back('B');
    out.push_back('M');
    Put32(out, fileSize);
    Put32(out, 0);
    Put32(out, offset);
}

std::vector<std::uint8_t> Pixels32BottomUp(const Image& image) {
    std::vector<std::uint8_t> out;
    for (int y = image.height() - 1; y >= 0; --y) {
        for (int x = 0; x < image.width(); ++x) {
            const Rgb& p = image.at(x, y);
            out.insert(out.end(), {p.b, p.g, p.r, p.a});
        }
    }
    return out;
}

} // namespace

Image::Image(int width, int height, Rgb fill)
    : width_(width), height_(height),
      pixels_(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

void Image::fillRect(int left, int top, int right, int bottom, Rgb colour) {
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            set(x, y, colour);
        }
    }
}

void Image::blit(const Image& source, int x, int y) {
    for (int sy = 0; sy < source.height(); ++sy) {
        for (int sx = 0; sx < source.width(); ++sx) {
            set(x + sx, y + sy, source.at(sx, sy));
        }
    }
}

std::vector<std::uint8_t> EncodeBmp32(const Image& image) {
    std::vector<std::uint8_t> pixels = Pixels32BottomUp(image);
    std::vector<std::uint8_t> out;
    const std::uint32_t offset = 14 + 40;
    PutFileHeader(out, offset + static_cast<std::uint32_t>(pixels.size()), offset);
    PutInfoHeader(out, image.width(), image.height(), 32, static_cast<std::uint32_t>(pixels.size()),
                  0);
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<std::uint8_t> EncodeBmp4(const Image& image, const std::vector<Rgb>& palette) {
    if (palette.empty() || palette.size() > 16) {
        throw std::invalid_argument("a 4-bit bitmap needs 1 to 16 palette colours");
    }
    const int rowBytes = ((image.width() + 1) / 2 + 3) / 4 * 4;
    std::vector<std::uint8_t> pixels(static_cast<std::size_t>(rowBytes * image.height()), 0);
    for (int y = 0; y < image.height(); ++y) {
        std::uint8_t* row = &pixels[static_cast<std::size_t>((image.height() - 1 - y) * rowBytes)];
        for (int x = 0; x < image.width(); ++x) {
            Rgb colour = image.at(x, y);
            colour.a = 255;
            std::size_t index = 0;
            while (index < palette.size() &&
                   !(palette[index].r == colour.r && palette[index].g == colour.g &&
                     palette[index].b == colour.b)) {
                ++index;
            }
            if (index == palette.size()) {
                throw std::invalid_argument("colour missing from the palette");
            }
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
    }
    std::vector<std::uint8_t> out;
    const std::uint32_t offset = 14 + 40 + 16 * 4;
    PutFileHeader(out, offset + static_cast<std::uint32_t>(pixels.size()), offset);
    PutInfoHeader(out, image.width(), image.height(), 4, static_cast<std::uint32_t>(pixels.size()),
                  16);
    for (std::size_t i = 0; i < 16; ++i) {
        Rgb c = i < palette.size() ? palette[i] : Rgb{0, 0, 0, 0};
        out.insert(out.end(), {c.b, c.g, c.r, 0});
    }
    out.insert(out.end(), pixels.begin(), pixels.end());
    return out;
}

std::vector<std::uint8_t> EncodeIco(const std::vector<Image>& images) {
    std::vector<std::vector<std::uint8_t>> entries;
    for (const Image& image : images) {
        std::vector<std::uint8_t> entry;
        const int maskRow = ((image.width() + 31) / 32) * 4;
        std::vector<std::uint8_t> xorBits = Pixels32BottomUp(image);
        std::vector<std::uint8_t> mask(static_cast<std::size_t>(maskRow * image.height()), 0);
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.at(x, y).a < 128) {
                    mask[static_cast<std::size_t>((image.height() - 1 - y) * maskRow + x / 8)] |=
                        static_cast<std::uint8_t>(0x80 >> (x % 8));
                }
            }
        }
        // An icon's header counts the colour and the mask bitmap together.
        PutInfoHeader(entry, image.width(), image.height() * 2, 32,
                      static_cast<std::uint32_t>(xorBits.size() + mask.size()), 0);
        entry.insert(entry.end(), xorBits.begin(), xorBits.end());
        entry.insert(entry.end(), mask.begin(), mask.end());
        entries.push_back(std::move(entry));
    }
    std::vector<std::uint8_t> out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        out.push_back(static_cast<std::uint8_t>(images[i].width() % 256));
        out.push_back(static_cast<std::uint8_t>(images[i].height() % 256));
        out.push_back(0);
        out.push_back(0);
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<std::uint32_t>(entries[i].size()));
        Put32(out, offset);
        offset += static_cast<std::uint32_t>(entries[i].size());
    }
    for (const auto& entry : entries) {
        out.insert(out.end(), entry.begin(), entry.end());
    }
    return out;
}

void WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream file(path, std::ios::binary);
    file.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
}
