#include "forms/PictureBuilder.h"

#include <cmath>
#include <numbers>

PictureBuilder::PictureBuilder(int width, int height) {
    picture_.Width = width;
    picture_.Height = height;
}

PictureBuilder& PictureBuilder::Pen(int width, TPenStyle style) {
    pen_.Width = width;
    pen_.Style = style;
    return *this;
}

TPrimitive PictureBuilder::Make(TPrimitiveKind kind, std::vector<TPoint> points) const {
    TPrimitive p;
    p.Kind = kind;
    p.Points = std::move(points);
    p.Pen = pen_;
    return p;
}

PictureBuilder& PictureBuilder::Add(TPrimitive p) {
    picture_.Items.push_back(std::move(p));
    return *this;
}

PictureBuilder& PictureBuilder::Line(TPoint a, TPoint b) {
    return Add(Make(TPrimitiveKind::Line, {a, b}));
}

PictureBuilder& PictureBuilder::Polyline(std::vector<TPoint> points) {
    return Add(Make(TPrimitiveKind::Polyline, std::move(points)));
}

PictureBuilder& PictureBuilder::Polygon(std::vector<TPoint> points, bool filled) {
    TPrimitive p = Make(TPrimitiveKind::Polygon, std::move(points));
    p.Brush = {filled, p.Pen.Color};
    return Add(std::move(p));
}

PictureBuilder& PictureBuilder::Rect(TPoint topLeft, TPoint bottomRight, bool filled) {
    TPrimitive p = Make(TPrimitiveKind::Rectangle, {topLeft, bottomRight});
    p.Brush = {filled, p.Pen.Color};
    return Add(std::move(p));
}

PictureBuilder& PictureBuilder::Circle(TPoint centre, int radius, bool filled) {
    TPrimitive p = Make(TPrimitiveKind::Ellipse,
                        {centre - TPoint{radius, radius}, centre + TPoint{radius, radius}});
    p.Brush = {filled, p.Pen.Color};
    return Add(std::move(p));
}

PictureBuilder& PictureBuilder::Arc(TPoint topLeft, TPoint bottomRight, double start,
                                    double sweep) {
    TPrimitive p = Make(TPrimitiveKind::Arc, {topLeft, bottomRight});
    p.StartAngle = start;
    p.SweepAngle = sweep;
    return Add(std::move(p));
}

PictureBuilder& PictureBuilder::Text(TPoint anchor, std::string text, int size, TTextAlign align,
                                     bool italic) {
    TPrimitive p = Make(TPrimitiveKind::Text, {anchor});
    p.Text = std::move(text);
    p.FontSize = size;
    p.Align = align;
    p.Italic = italic;
    return Add(std::move(p));
}

PictureBuilder& PictureBuilder::Arrow(TPoint from, TPoint to, int head) {
    Line(from, to);
    const double dx = to.x - from.x, dy = to.y - from.y;
    const double len = std::hypot(dx, dy);
    if (len == 0) return *this;
    const double ux = dx / len, uy = dy / len;
    // A slim head: half as wide as it is long on each side.
    const double bx = to.x - ux * head, by = to.y - uy * head;
    const double wx = -uy * head * 0.5, wy = ux * head * 0.5;
    const TPen saved = pen_;
    pen_.Width = 1;
    Polygon({to,
             {int(std::lround(bx + wx)), int(std::lround(by + wy))},
             {int(std::lround(bx - wx)), int(std::lround(by - wy))}},
            true);
    pen_ = saved;
    return *this;
}

PictureBuilder& PictureBuilder::Plus(TPoint c, int half) {
    Line({c.x - half, c.y}, {c.x + half, c.y});
    return Line({c.x, c.y - half}, {c.x, c.y + half});
}

PictureBuilder& PictureBuilder::Minus(TPoint c, int half) {
    return Line({c.x - half, c.y}, {c.x + half, c.y});
}

PictureBuilder& PictureBuilder::Coil(TPoint from, int turns, int pitch, bool horizontal, int side) {
    const int r = pitch / 2;
    for (int i = 0; i < turns; ++i) {
        if (horizontal) {
            const int x = from.x + i * pitch;
            // Upper half from 0 to 180 degrees, lower half from 180 to 360.
            Arc({x, from.y - r}, {x + pitch, from.y + r}, side < 0 ? 0 : 180, 180);
        } else {
            const int y = from.y + i * pitch;
            // Right half from 270 through 0 to 90, left half from 90 to 270.
            Arc({from.x - r, y}, {from.x + r, y + pitch}, side > 0 ? 270 : 90, 180);
        }
    }
    return *this;
}

PictureBuilder& PictureBuilder::SineWave(TPoint topLeft, TPoint bottomRight, double periods) {
    const int steps = std::max(8, (bottomRight.x - topLeft.x) / 2);
    const double w = bottomRight.x - topLeft.x;
    const double mid = (topLeft.y + bottomRight.y) / 2.0;
    const double amp = (bottomRight.y - topLeft.y) / 2.0;
    std::vector<TPoint> pts;
    for (int i = 0; i <= steps; ++i) {
        const double t = double(i) / steps;
        const double y = mid - amp * std::sin(2 * std::numbers::pi * periods * t);
        pts.push_back({int(std::lround(topLeft.x + w * t)), int(std::lround(y))});
    }
    return Polyline(std::move(pts));
}
