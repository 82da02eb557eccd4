#include "model/TRotateableMetafile.h"

#include <cmath>
#include <utility>

TTransformMatrix TTransformMatrix::Build(int angle, int sx, int sy) {
    int q = (angle / 90) % 4;
    if (q < 0) q += 4;
    static const int cosTable[4] = {1, 0, -1, 0};
    static const int sinTable[4] = {0, 1, 0, -1};
    const int c = cosTable[q];
    const int s = sinTable[q];
    TTransformMatrix m;
    m.m11 = c * sx;
    m.m12 = s * sy;
    m.m21 = -s * sx;
    m.m22 = c * sy;
    return m;
}

TRect TTransformMatrix::ApplyRect(const TRect& r) const {
    TPoint a = Apply({r.left, r.top});
    TPoint b = Apply({r.right, r.bottom});
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

namespace {

double NormaliseDegrees(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// Arc angles are counter-clockwise on the screen; a clockwise turn by the
// picture angle subtracts it, and each mirror reflects the angle and reverses
// the sweep so that the same stretch of the ellipse is drawn.
void TransformArc(TPrimitive& p, int angle, bool xflip, bool yflip) {
    double start = p.StartAngle - angle;
    double sweep = p.SweepAngle;
    if (xflip) {
        start = 180.0 - start;
        sweep = -sweep;
    }
    if (yflip) {
        start = -start;
        sweep = -sweep;
    }
    p.StartAngle = NormaliseDegrees(start);
    p.SweepAngle = sweep;
}

} // namespace

std::vector<TPrimitive> TRotateableMetafile::Play(const TRect& dest) const {
    std::vector<TPrimitive> out;
    if (Picture.Empty()) return out;
    out.reserve(Picture.Items.size());

    // Points are turned about the origin and then moved so that the turned
    // box starts at the destination's top-left corner. The box is the
    // picture's full size, so a point turns about the box centre exactly as
    // the element turns its pins' centres: a lead drawn to a pin centre
    // still ends on it after any turn or mirror.
    const bool plain = !XFlip && !YFlip && Angle == 0 && !Highlight;
    const TTransformMatrix m = Transform();
    const TRect box{0, 0, Picture.Width, Picture.Height};
    const TRect turned = m.ApplyRect(box);
    const TPoint shift{dest.left - turned.left, dest.top - turned.top};

    for (const TPrimitive& src : Picture.Items) {
        TPrimitive p = src;
        if (plain) {
            for (TPoint& pt : p.Points) pt = pt + TPoint{dest.left, dest.top};
            out.push_back(std::move(p));
            continue;
        }
        for (TPoint& pt : p.Points) pt = m.Apply(pt) + shift;
        switch (p.Kind) {
        case TPrimitiveKind::Rectangle:
        case TPrimitiveKind::Ellipse:
        case TPrimitiveKind::Arc:
            if (p.Points.size() == 2) {
                TPoint a = p.Points[0], b = p.Points[1];
                p.Points = {{std::min(a.x, b.x), std::min(a.y, b.y)},
                            {std::max(a.x, b.x), std::max(a.y, b.y)}};
            }
            if (p.Kind == TPrimitiveKind::Arc) TransformArc(p, Angle, XFlip, YFlip);
            break;
        case TPrimitiveKind::Text: {
            // Text turns with the picture but is never drawn mirrored: a
            // mirror along the reading direction swaps its anchoring instead.
            p.Rotation = int(NormaliseDegrees(p.Rotation + Angle));
            const bool alongX = (p.Rotation / 90) % 2 == 0;
            if ((alongX && XFlip) || (!alongX && YFlip)) {
                if (p.Align == TTextAlign::Left) p.Align = TTextAlign::Right;
                else if (p.Align == TTextAlign::Right) p.Align = TTextAlign::Left;
            }
            break;
        }
        default:
            break;
        }
        if (Highlight) {
            p.Pen.Color = HighlightColor;
            p.Pen.Width = HighlightWidth;
            if (p.Kind == TPrimitiveKind::Text && p.TextFollowsHighlight) p.TextColor = HighlightColor;
        }
        out.push_back(std::move(p));
    }
    return out;
}
