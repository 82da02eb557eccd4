#pragma once

#include "model/Geometry.h"
#include "model/TRotateableMetafile.h"

// One straight piece of a signal link, in sheet coordinates. Its box is the
// bounding box of the piece, one pixel wider and taller than the distance
// between its ends, so that both end pixels are covered.
class TInfoLine {
public:
    TInfoLine(TPoint from, TPoint to) { Place(from, to); }

    TPoint From;
    TPoint To;
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;

    void Place(TPoint from, TPoint to);
    TRect BoundsRect() const { return RectFromBounds(Left, Top, Width, Height); }
    // A thin black line from one end to the other.
    TPrimitive Paint() const;
};
