#include "update_icon.h"

#include "raster.h"

#include <cmath>
#include <cstdint>

namespace {

constexpr int kSize = 32;

// Paints colour over the pixel by the given coverage, keeping what lies below.
void Cover(Image& image, int x, int y, Rgb colour, double coverage) {
    if (coverage <= 0) {
        return;
    }
    Rgb& target = image.at(x, y);
    const double below = target.a / 255.0;
    const double alpha = coverage + below * (1 - coverage);
    auto channel = [&](std::uint8_t top, std::uint8_t bottom) {
        return static_cast<std::uint8_t>(
            std::lround((top * coverage + bottom * below * (1 - coverage)) / alpha));
    };
    target = Rgb{channel(colour.r, target.r), channel(colour.g, target.g),
                 channel(colour.b, target.b), static_cast<std::uint8_t>(std::lround(alpha * 255))};
}

template <class Inside> void Paint(Image& image, Rgb colour, Inside inside) {
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            Cover(image, x, y, colour, Coverage(x, y, inside, 4));
        }
    }
}

} // namespace

Image DrawUpdateIcon() {
    Image image(kSize, kSize, Rgb{0, 0, 0, 0});
    const Point centre{13, 13};
    const double radius = 12;
    auto inGlobe = [&](Point p) { return std::hypot(p.x - centre.x, p.y - centre.y) <= radius; };

    // The globe: sea, two land masses, and the grid drawn over both.
    Paint(image, Rgb{40, 110, 210, 255}, inGlobe);
    const std::vector<std::vector<Point>> land = {
        {{5, 7}, {11, 4}, {13, 9}, {9, 15}, {5, 13}},
        {{15, 14}, {21, 10}, {24, 16}, {18, 23}, {14, 20}},
    };
    for (const std::vector<Point>& shape : land) {
        Paint(image, Rgb{60, 170, 70, 255},
              [&](Point p) { return inGlobe(p) && InsideConvexPolygon(shape, p); });
    }
    const std::vector<Stroke> grid = {
        Arc(centre, radius, 4, 0, 360),  // the equator, tilted towards the eye
        Arc(centre, 5, radius, 0, 360),  // a meridian
        {{centre.x, 1}, {centre.x, 25}}, // the meridian facing the eye
        Arc({13, 7}, 9.5, 2.5, 0, 360),  // a northern parallel
    };
    Paint(image, Rgb{200, 225, 250, 255},
          [&](Point p) { return inGlobe(p) && InsideStrokes(grid, 0.45, p); });
    Paint(image, Rgb{20, 50, 110, 255}, [&](Point p) {
        const double d = std::hypot(p.x - centre.x, p.y - centre.y);
        return d <= radius && d >= radius - 1;
    });

    // The floppy disk in front, its top-right corner cut off.
    const std::vector<Point> disk = {{13, 13}, {29, 13}, {32, 16}, {32, 32}, {13, 32}};
    Paint(image, Rgb{30, 40, 90, 255}, [&](Point p) { return InsideConvexPolygon(disk, p); });
    Paint(image, Rgb{190, 195, 205, 255},
          [](Point p) { return p.x >= 17 && p.x <= 26 && p.y >= 13 && p.y <= 19; });
    Paint(image, Rgb{30, 40, 90, 255},
          [](Point p) { return p.x >= 22 && p.x <= 24 && p.y >= 14 && p.y <= 18; });
    Paint(image, Rgb{250, 250, 250, 255},
          [](Point p) { return p.x >= 15.5 && p.x <= 28.5 && p.y >= 22 && p.y <= 31; });
    const std::vector<Stroke> writing = {{{17.5, 25}, {26.5, 25}}, {{17.5, 28}, {24, 28}}};
    Paint(image, Rgb{120, 130, 150, 255}, [&](Point p) { return InsideStrokes(writing, 0.5, p); });
    return image;
}
