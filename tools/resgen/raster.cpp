#include "raster.h"

#include <algorithm>
#include <cmath>

Rgb Mix(Rgb from, Rgb to, double amount) {
    amount = std::clamp(amount, 0.0, 1.0);
    auto channel = [amount](std::uint8_t a, std::uint8_t b) {
        return static_cast<std::uint8_t>(std::lround(a + (b - a) * amount));
    };
    return Rgb{channel(from.r, to.r), channel(from.g, to.g), channel(from.b, to.b), 255};
}

bool InsideConvexPolygon(const std::vector<Point>& polygon, Point p) {
    // Inside when p lies on the same side of every edge, whichever the winding.
    bool positive = false, negative = false;
    for (std::size_t i = 0; i < polygon.size(); ++i) {
        const Point& a = polygon[i];
        const Point& b = polygon[(i + 1) % polygon.size()];
        double cross = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        positive = positive || cross > 0;
        negative = negative || cross < 0;
    }
    return !(positive && negative);
}

double DistanceToSegment(Point p, Point a, Point b) {
    double dx = b.x - a.x, dy = b.y - a.y;
    double lengthSquared = dx * dx + dy * dy;
    double t = lengthSquared == 0 ? 0 : ((p.x - a.x) * dx + (p.y - a.y) * dy) / lengthSquared;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(a.x + t * dx - p.x, a.y + t * dy - p.y);
}

bool InsideStrokes(const std::vector<Stroke>& strokes, double penRadius, Point p) {
    for (const Stroke& stroke : strokes) {
        if (stroke.size() == 1 && DistanceToSegment(p, stroke[0], stroke[0]) <= penRadius) {
            return true;
        }
        for (std::size_t i = 1; i < stroke.size(); ++i) {
            if (DistanceToSegment(p, stroke[i - 1], stroke[i]) <= penRadius) {
                return true;
            }
        }
    }
    return false;
}

Stroke Arc(Point centre, double rx, double ry, double fromDegrees, double toDegrees) {
    const double pi = std::acos(-1.0);
    const int steps = std::max(2, static_cast<int>(std::fabs(toDegrees - fromDegrees) / 6));
    Stroke points;
    for (int i = 0; i <= steps; ++i) {
        double a = (fromDegrees + (toDegrees - fromDegrees) * i / steps) * pi / 180;
        points.push_back({centre.x + rx * std::cos(a), centre.y + ry * std::sin(a)});
    }
    return points;
}
