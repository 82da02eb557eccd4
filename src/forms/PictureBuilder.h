#pragma once

#include <string>
#include <vector>

#include "model/TRotateableMetafile.h"

// Builds element pictures from the pieces schematic symbols are made of.
// Coordinates are pixels of the picture's own box; a form that places its
// picture at (0, 0) can therefore use pin centres directly as lead ends.
class PictureBuilder {
public:
    PictureBuilder(int width, int height);

    // The pen of the items added after it.
    PictureBuilder& Pen(int width, TPenStyle style = TPenStyle::Solid);
    PictureBuilder& Line(TPoint a, TPoint b);
    PictureBuilder& Polyline(std::vector<TPoint> points);
    PictureBuilder& Polygon(std::vector<TPoint> points, bool filled);
    PictureBuilder& Rect(TPoint topLeft, TPoint bottomRight, bool filled = false);
    PictureBuilder& Circle(TPoint centre, int radius, bool filled = false);
    // Part of the ellipse in the box; degrees counter-clockwise from 3 o'clock.
    PictureBuilder& Arc(TPoint topLeft, TPoint bottomRight, double start, double sweep);
    PictureBuilder& Text(TPoint anchor, std::string text, int size,
                         TTextAlign align = TTextAlign::Center, bool italic = false);

    // A line with a filled head at `to`.
    PictureBuilder& Arrow(TPoint from, TPoint to, int head = 5);
    PictureBuilder& Plus(TPoint centre, int half = 3);
    PictureBuilder& Minus(TPoint centre, int half = 3);
    // A winding of `turns` half-circle humps of diameter `pitch`, starting at
    // `from` and running right (horizontal) or down; the humps bulge to the
    // given side: -1 up or left, +1 down or right.
    PictureBuilder& Coil(TPoint from, int turns, int pitch, bool horizontal, int side);
    // One period of a sine wave across the box, as a polyline.
    PictureBuilder& SineWave(TPoint topLeft, TPoint bottomRight, double periods = 1.0);

    TPicture Build() const { return picture_; }
    operator TPicture() const { return picture_; } // NOLINT: forms take pictures

private:
    TPrimitive Make(TPrimitiveKind kind, std::vector<TPoint> points) const;
    PictureBuilder& Add(TPrimitive p);

    TPicture picture_;
    TPen pen_;
};
