#pragma once
// Small drawing helpers for the artwork: shapes are tested per sub-sample so
// that slanted and round edges get soft coverage instead of jagged steps.
#include "image.h"

#include <vector>

struct Point {
    double x = 0, y = 0;
};

// Blends from towards to; amount 0 keeps from, 1 gives to. Alpha stays opaque.
Rgb Mix(Rgb from, Rgb to, double amount);

bool InsideConvexPolygon(const std::vector<Point>& polygon, Point p);
double DistanceToSegment(Point p, Point a, Point b);

// Fraction of the pixel (x, y) for which inside(point) holds, sampled on an
// n × n grid of sub-pixel centres.
template <class Inside> double Coverage(int x, int y, Inside inside, int n = 8) {
    int hits = 0;
    for (int sy = 0; sy < n; ++sy) {
        for (int sx = 0; sx < n; ++sx) {
            hits += inside(Point{x + (sx + 0.5) / n, y + (sy + 0.5) / n}) ? 1 : 0;
        }
    }
    return static_cast<double>(hits) / (n * n);
}

// A pen stroke along connected points; strokes are unions of round-capped lines.
using Stroke = std::vector<Point>;

bool InsideStrokes(const std::vector<Stroke>& strokes, double penRadius, Point p);

// Points along an elliptical arc; angles in degrees, 0 pointing right and 90
// pointing down (screen y grows downwards), so growing angles run clockwise.
Stroke Arc(Point centre, double rx, double ry, double fromDegrees, double toDegrees);
