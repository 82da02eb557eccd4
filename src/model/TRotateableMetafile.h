#pragma once

#include <string>
#include <vector>

#include "model/Geometry.h"

// Element pictures are lists of vector primitives in the picture's own
// coordinates. TRotateableMetafile plays such a list turned by a multiple of
// 90 degrees, mirrored, and with every pen replaced by the highlight pen when
// the element is selected. The painter only draws what Play returns.

enum class TPenStyle { Solid, Dash, Dot };

struct TPen {
    TColor Color = clBlack;
    int Width = 1;
    TPenStyle Style = TPenStyle::Solid;
    friend bool operator==(const TPen&, const TPen&) = default;
};

struct TBrush {
    bool Filled = false;
    TColor Color = clBlack;
    friend bool operator==(const TBrush&, const TBrush&) = default;
};

enum class TPrimitiveKind { Line, Polyline, Polygon, Rectangle, Ellipse, Arc, Text };

// Text anchoring: the anchor point is the centre of the text box unless told.
enum class TTextAlign { Center, Left, Right };

struct TPrimitive {
    TPrimitiveKind Kind = TPrimitiveKind::Line;
    // Line: two points; Polyline, Polygon: the vertices; Rectangle, Ellipse,
    // Arc: two corners of the box; Text: the anchor point.
    std::vector<TPoint> Points;
    TPen Pen;
    TBrush Brush;
    // Arc: start angle and sweep in degrees, counter-clockwise as seen on the
    // screen, 0 pointing to the right.
    double StartAngle = 0;
    double SweepAngle = 0;
    // Text.
    std::string Text;
    int FontSize = 10;        // pixel height
    bool Bold = false;
    bool Italic = false;
    std::string FontFamily;   // empty: the sans-serif face of the platform
    TTextAlign Align = TTextAlign::Center;
    int Rotation = 0;         // degrees, clockwise on the screen
    bool TextFollowsHighlight = false;
    TColor TextColor = clBlack;

    friend bool operator==(const TPrimitive&, const TPrimitive&) = default;
};

struct TPicture {
    int Width = 0;
    int Height = 0;
    std::vector<TPrimitive> Items;
    bool Empty() const { return Items.empty(); }
};

// The integer transform of a turn by a multiple of 90 degrees followed by the
// mirror factors: x' = x*m11 + y*m21 + dx, y' = x*m12 + y*m22 + dy.
struct TTransformMatrix {
    int m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
    friend bool operator==(const TTransformMatrix&, const TTransformMatrix&) = default;

    static TTransformMatrix Build(int angle, int sx, int sy);
    TPoint Apply(TPoint p) const {
        return {p.x * m11 + p.y * m21 + dx, p.x * m12 + p.y * m22 + dy};
    }
    // Both corners transformed, then sorted so that left <= right, top <= bottom.
    TRect ApplyRect(const TRect& r) const;
    bool Mirrors() const { return m11 * m22 - m12 * m21 < 0; }
};

class TRotateableMetafile {
public:
    int Angle = 0;
    bool XFlip = false;
    bool YFlip = false;
    bool Highlight = false;
    int HighlightWidth = 1;
    TColor HighlightColor = clBlack;

    TPicture Picture;

    bool Empty() const { return Picture.Empty(); }

    // The primitives placed into the destination rectangle (the picture
    // control's box in element coordinates), turned, mirrored and highlighted.
    std::vector<TPrimitive> Play(const TRect& dest) const;
    TTransformMatrix Transform() const {
        return TTransformMatrix::Build(Angle, XFlip ? -1 : 1, YFlip ? -1 : 1);
    }
};
