#pragma once

#include <vector>

#include "model/TRotateableMetafile.h"

// Measures what a picture draws, independently of any painter: the outline of
// each primitive as points and segments, and a generous box for text.

struct DrawnBox {
    double left, top, right, bottom;
};

// The smallest box holding every drawn point (text by its estimated extent).
DrawnBox BoundsOf(const std::vector<TPrimitive>& items);

// Shortest distance from a point to any line work (text is not line work).
double DistanceToDrawing(const std::vector<TPrimitive>& items, double x, double y);

// Shortest distance from a rectangle (inclusive pixel box) to any line work;
// 0 when the drawing enters the rectangle.
double DistanceToDrawing(const std::vector<TPrimitive>& items, const TRect& box);
