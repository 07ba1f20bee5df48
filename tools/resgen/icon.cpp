#include "icon.h"

#include <cmath>

namespace {

// Coverage of a pixel by a disc, with 4x4 supersampling for soft edges.
double DiscCoverage(double cx, double cy, double radius, int x, int y) {
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
            double px = x + (sx + 0.5) / 4 - cx;
            double py = y + (sy + 0.5) / 4 - cy;
            inside += px * px + py * py <= radius * radius;
        }
    }
    return inside / 16.0;
}

void Line(Image& image, double x0, double y0, double x1, double y1, double width, Rgb colour) {
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            double px = x + 0.5, py = y + 0.5;
            double dx = x1 - x0, dy = y1 - y0;
            double t = ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy);
            t = std::fmax(0, std::fmin(1, t));
            double ex = x0 + t * dx - px, ey = y0 + t * dy - py;
            if (std::sqrt(ex * ex + ey * ey) <= width / 2) {
                image.at(x, y) = colour;
            }
        }
    }
}

} // namespace

Image DrawIcon(int size) {
    Image image(size, size, Rgb{0, 0, 0, 0});
    const double c = size / 2.0;
    const double outer = size / 2.0 - 0.5;
    const double rim = size / 12.0 + 0.5;
    const Rgb rimColour{40, 70, 120, 255};
    const Rgb face{250, 250, 245, 255};
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            double outerCover = DiscCoverage(c, c, outer, x, y);
            double faceCover = DiscCoverage(c, c, outer - rim, x, y);
            if (outerCover == 0) {
                continue;
            }
            Rgb p = faceCover >= 0.5 ? face : rimColour;
            p.a = static_cast<std::uint8_t>(std::lround(outerCover * 255));
            image.at(x, y) = p;
        }
    }
    const double pi = std::acos(-1.0);
    const Rgb ink{30, 30, 30, 255};
    for (int hour = 0; hour < 12; hour += 3) {
        double a = hour * pi / 6;
        double r0 = outer - rim - size / 10.0, r1 = outer - rim - 0.5;
        Line(image, c + r0 * std::sin(a), c - r0 * std::cos(a), c + r1 * std::sin(a),
             c - r1 * std::cos(a), size / 16.0 + 0.6, ink);
    }
    // Ten past ten: the hour hand just past 10, the minute hand on 2.
    double hourAngle = (10 + 10 / 60.0) * pi / 6, minuteAngle = 10 * pi / 30;
    Line(image, c, c, c + size * 0.22 * std::sin(hourAngle), c - size * 0.22 * std::cos(hourAngle),
         size / 10.0 + 0.5, ink);
    Line(image, c, c, c + size * 0.32 * std::sin(minuteAngle),
         c - size * 0.32 * std::cos(minuteAngle), size / 14.0 + 0.5, ink);
    Line(image, c, c, c - size * 0.1, c + size * 0.3, 1.0, Rgb{200, 30, 30, 255});
    return image;
}
