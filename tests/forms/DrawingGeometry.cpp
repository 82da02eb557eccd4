#include "forms/DrawingGeometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace {

struct Segment {
    double x1, y1, x2, y2;
};

double Radians(double degrees) {
    return degrees * std::numbers::pi / 180.0;
}

// Points along an ellipse box from `start` over `sweep` degrees,
// counter-clockwise on the screen (y grows downwards).
std::vector<std::pair<double, double>> EllipsePoints(const TPrimitive& p, double start,
                                                     double sweep) {
    const double cx = (p.Points[0].x + p.Points[1].x) / 2.0;
    const double cy = (p.Points[0].y + p.Points[1].y) / 2.0;
    const double rx = std::abs(p.Points[1].x - p.Points[0].x) / 2.0;
    const double ry = std::abs(p.Points[1].y - p.Points[0].y) / 2.0;
    std::vector<std::pair<double, double>> pts;
    const int steps = 72;
    for (int i = 0; i <= steps; ++i) {
        const double a = Radians(start + sweep * i / steps);
        pts.push_back({cx + rx * std::cos(a), cy - ry * std::sin(a)});
    }
    return pts;
}

std::vector<Segment> SegmentsOf(const TPrimitive& p) {
    std::vector<Segment> out;
    auto chain = [&out](const std::vector<std::pair<double, double>>& pts, bool closed) {
        for (std::size_t i = 0; i + 1 < pts.size(); ++i)
            out.push_back({pts[i].first, pts[i].second, pts[i + 1].first, pts[i + 1].second});
        if (closed && pts.size() > 2)
            out.push_back({pts.back().first, pts.back().second, pts[0].first, pts[0].second});
        if (pts.size() == 1)
            out.push_back({pts[0].first, pts[0].second, pts[0].first, pts[0].second});
    };
    std::vector<std::pair<double, double>> pts;
    for (const TPoint& q : p.Points)
        pts.push_back({double(q.x), double(q.y)});
    switch (p.Kind) {
    case TPrimitiveKind::Line:
    case TPrimitiveKind::Polyline:
        chain(pts, false);
        break;
    case TPrimitiveKind::Polygon:
        chain(pts, true);
        break;
    case TPrimitiveKind::Rectangle: {
        const double l = pts[0].first, t = pts[0].second, r = pts[1].first, b = pts[1].second;
        chain({{l, t}, {r, t}, {r, b}, {l, b}}, true);
        break;
    }
    case TPrimitiveKind::Ellipse:
        chain(EllipsePoints(p, 0, 360), false);
        break;
    case TPrimitiveKind::Arc:
        chain(EllipsePoints(p, p.StartAngle, p.SweepAngle), false);
        break;
    case TPrimitiveKind::Text:
        break;
    }
    return out;
}

double PointSegment(double px, double py, const Segment& s) {
    const double dx = s.x2 - s.x1, dy = s.y2 - s.y1;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((px - s.x1) * dx + (py - s.y1) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return std::hypot(px - (s.x1 + t * dx), py - (s.y1 + t * dy));
}

// Text extent from its pixel size: glyphs of these fonts are at most about
// 0.62 em wide on average, and the box is one em high.
DrawnBox TextBox(const TPrimitive& p) {
    int glyphs = 0;
    for (unsigned char c : p.Text)
        if ((c & 0xC0) != 0x80) ++glyphs;
    const double w = 0.62 * p.FontSize * glyphs, h = p.FontSize;
    double left = -w / 2;
    if (p.Align == TTextAlign::Left)
        left = 0;
    else if (p.Align == TTextAlign::Right)
        left = -w;
    const bool turned = (p.Rotation / 90) % 2 != 0;
    const double ax = p.Points[0].x, ay = p.Points[0].y;
    if (!turned) return {ax + left, ay - h / 2, ax + left + w, ay + h / 2};
    return {ax - h / 2, ay - w / 2, ax + h / 2, ay + w / 2};
}

} // namespace

DrawnBox BoundsOf(const std::vector<TPrimitive>& items) {
    const double inf = std::numeric_limits<double>::infinity();
    DrawnBox box{inf, inf, -inf, -inf};
    auto take = [&box](double x, double y) {
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x);
        box.bottom = std::max(box.bottom, y);
    };
    for (const TPrimitive& p : items) {
        if (p.Kind == TPrimitiveKind::Text) {
            const DrawnBox t = TextBox(p);
            take(t.left, t.top);
            take(t.right, t.bottom);
            continue;
        }
        for (const Segment& s : SegmentsOf(p)) {
            take(s.x1, s.y1);
            take(s.x2, s.y2);
        }
    }
    return box;
}

double DistanceToDrawing(const std::vector<TPrimitive>& items, double x, double y) {
    double best = std::numeric_limits<double>::infinity();
    for (const TPrimitive& p : items)
        for (const Segment& s : SegmentsOf(p))
            best = std::min(best, PointSegment(x, y, s));
    return best;
}

double DistanceToDrawing(const std::vector<TPrimitive>& items, const TRect& box) {
    // Sampling the segments is exact enough at pixel scale.
    double best = std::numeric_limits<double>::infinity();
    for (const TPrimitive& p : items) {
        for (const Segment& s : SegmentsOf(p)) {
            const double len = std::hypot(s.x2 - s.x1, s.y2 - s.y1);
            const int n = std::max(1, int(std::ceil(len * 2)));
            for (int i = 0; i <= n; ++i) {
                const double x = s.x1 + (s.x2 - s.x1) * i / n, y = s.y1 + (s.y2 - s.y1) * i / n;
                const double dx = std::max({box.left - x, 0.0, x - box.right});
                const double dy = std::max({box.top - y, 0.0, y - box.bottom});
                best = std::min(best, std::hypot(dx, dy));
            }
        }
    }
    return best;
}
