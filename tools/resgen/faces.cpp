#include "faces.h"

#include "raster.h"

#include <cmath>
#include <algorithm>

namespace faces {

const std::array<SmallFace, 5>& SmallFaces() {
    static const std::array<SmallFace, 5> faces = {{
        {101, Rgb{0, 0, 0}},
        {102, Rgb{255, 0, 0}},
        {103, Rgb{0, 255, 0}},
        {104, Rgb{255, 255, 255}},
        {105, Rgb{0, 255, 255}},
    }};
    return faces;
}

const std::vector<Rgb>& SmallFacePalette() {
    static const std::vector<Rgb> palette = {
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    return palette;
}

Image DrawSmallFace(Rgb marks) {
    Image face(kSmallFaceSize, kSmallFaceSize, kSmallFaceGround);
    // Twelve and six: 3 wide, 4 high; nine and three: 4 wide, 3 high.
    face.fillRect(22, 0, 25, 4, marks);
    face.fillRect(22, 43, 25, 47, marks);
    face.fillRect(0, 22, 4, 25, marks);
    face.fillRect(43, 22, 47, 25, marks);
    // The other hours: 3 × 3 squares less the two corners off the diagonal
    // that points at the centre (23, 23), which leaves a short thick slash.
    constexpr int corners[8][2] = {{33, 4},  {40, 11}, {40, 33}, {33, 40},
                                   {11, 40}, {4, 33},  {4, 11},  {11, 4}};
    for (const auto& corner : corners) {
        const int cx = corner[0] + 1, cy = corner[1] + 1;
        const int sx = cx < 23 ? 1 : -1, sy = cy < 23 ? 1 : -1;
        for (int dy = -1; dy <= 1; ++dy) {
            for (int dx = -1; dx <= 1; ++dx) {
                const bool offDiagonal = (dx == sx && dy == -sy) || (dx == -sx && dy == sy);
                if (!offDiagonal) {
                    face.set(cx + dx, cy + dy, marks);
                }
            }
        }
    }
    return face;
}

namespace {

// Nine evenly spaced greys from white to black: enough for soft mark edges
// on the white dial within sixteen colours.
Rgb Grey(int level) {
    const auto v = static_cast<std::uint8_t>(255 - std::min(255, level * 32));
    return Rgb{v, v, v};
}

} // namespace

const std::vector<Rgb>& SampleClockPalette() {
    static const std::vector<Rgb> palette = [] {
        std::vector<Rgb> colours = {kSampleClockGround};
        for (int level = 0; level <= 8; ++level) {
            colours.push_back(Grey(level));
        }
        return colours;
    }();
    return palette;
}

Image DrawSampleClock() {
    // The hands turn about pixel (50, 50), so the dial is centred there.
    constexpr double centre = 50, dialRadius = 49.2, rimInner = 46.6;
    const double pi = std::acos(-1.0);
    std::vector<Stroke> hourBars, minuteDots, hub;
    for (int minute = 0; minute < 60; ++minute) {
        const double a = minute * pi / 30;
        auto at = [&](double r) {
            return Point{centre + 0.5 + r * std::sin(a), centre + 0.5 - r * std::cos(a)};
        };
        if (minute % 5 == 0) {
            hourBars.push_back({at(35.5), at(44.5)});
        } else {
            minuteDots.push_back({at(43.5)});
        }
    }
    hub.push_back({{centre + 0.5, centre + 0.5}});

    Image clock(kSampleClockSize, kSampleClockSize, kSampleClockGround);
    for (int y = 0; y < kSampleClockSize; ++y) {
        for (int x = 0; x < kSampleClockSize; ++x) {
            // The rim's outer edge stays hard: a soft edge would need colours
            // between olive and black, and olive must stay the only ground.
            const double d = std::hypot(x - centre, y - centre);
            if (d > dialRadius) {
                continue;
            }
            if (d > rimInner) {
                clock.at(x, y) = Grey(8);
                continue;
            }
            double ink = Coverage(x, y, [&](Point p) {
                return InsideStrokes(hourBars, 1.6, p) || InsideStrokes(minuteDots, 0.75, p) ||
                       InsideStrokes(hub, 2.6, p);
            });
            clock.at(x, y) = Grey(static_cast<int>(std::lround(ink * 8)));
        }
    }
    return clock;
}

} // namespace faces
