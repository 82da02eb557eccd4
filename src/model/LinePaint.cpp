#include "model/TElectricLine.h"

namespace {

TPrimitive Line(TPoint a, TPoint b, TPen pen) {
    TPrimitive p;
    p.Kind = TPrimitiveKind::Line;
    p.Points = {a, b};
    p.Pen = pen;
    return p;
}

} // namespace

std::vector<TPrimitive> TElectricLine::Paint() const {
    std::vector<TPrimitive> out;
    const TPen pen{FPenColor, FPenWidth, TPenStyle::Solid};
    const TPoint dir = FVertical ? TPoint{0, 1} : TPoint{1, 0};
    const TPoint s = StartPoint(), e = EndPoint();
    // A free end is pulled back so that its cross stays readable.
    const bool startFree = FStartLink.IsFree(), endFree = FEndLink.IsFree();
    const TPoint a = startFree ? s + TPoint{2 * dir.x, 2 * dir.y} : s;
    const TPoint b = endFree ? e - TPoint{3 * dir.x, 3 * dir.y} : e;
    if (a.x <= b.x && a.y <= b.y) out.push_back(Line(a, b, pen));

    const TPen blue{clBlue, 1, TPenStyle::Solid};
    auto cross = [&](TPoint p) {
        out.push_back(Line(p + TPoint{-2, -2}, p + TPoint{3, 3}, blue));
        out.push_back(Line(p + TPoint{2, -2}, p + TPoint{-3, 3}, blue));
    };
    if (startFree) cross(s);
    if (endFree) cross(e);

    for (const TCLine& t : FTaps) {
        TPrimitive dot;
        dot.Kind = TPrimitiveKind::Ellipse;
        dot.Points = {{t.x - 1, t.y - 1}, {t.x + 3, t.y + 3}};
        dot.Pen = pen;
        dot.Brush = {true, FPenColor};
        out.push_back(dot);
    }
    return out;
}
