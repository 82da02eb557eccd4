#include "gui/PicturePainter.h"

#include <algorithm>
#include <cmath>

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>
#include <QPen>
#include <QPolygonF>

namespace {

Qt::PenStyle ToQtStyle(TPenStyle style) {
    switch (style) {
    case TPenStyle::Dash:
        return Qt::DashLine;
    case TPenStyle::Dot:
        return Qt::DotLine;
    case TPenStyle::Solid:
        break;
    }
    return Qt::SolidLine;
}

QPen ToQPen(const TPen& pen) {
    QPen q(ToQColor(pen.Color));
    q.setWidth(std::max(1, pen.Width));
    q.setStyle(ToQtStyle(pen.Style));
    q.setCapStyle(Qt::SquareCap);
    q.setJoinStyle(Qt::MiterJoin);
    return q;
}

QPolygonF ToPolygon(const std::vector<TPoint>& points) {
    QPolygonF poly;
    poly.reserve(qsizetype(points.size()));
    for (const TPoint& p : points)
        poly << QPointF(p.x, p.y);
    return poly;
}

QRectF BoxOf(const TPrimitive& item) {
    const TPoint a = item.Points[0], b = item.Points[1];
    return QRectF(QPointF(std::min(a.x, b.x), std::min(a.y, b.y)),
                  QPointF(std::max(a.x, b.x), std::max(a.y, b.y)));
}

} // namespace

QColor ToQColor(TColor color) {
    return QColor(ColorRed(color), ColorGreen(color), ColorBlue(color));
}

void PicturePainter::Draw(const std::vector<TPrimitive>& items) {
    painter_.save();
    painter_.setRenderHint(QPainter::Antialiasing, true);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    painter_.translate(0.5, 0.5);
    for (const TPrimitive& item : items)
        Draw(item);
    painter_.restore();
}

void PicturePainter::Draw(const TPrimitive& item) {
    const std::size_t need = item.Kind == TPrimitiveKind::Text ? 1 : 2;
    if (item.Points.size() < need) return;
    if (item.Kind == TPrimitiveKind::Text) {
        DrawText(item);
        return;
    }
    painter_.setPen(ToQPen(item.Pen));
    painter_.setBrush(item.Brush.Filled ? QBrush(ToQColor(item.Brush.Color)) : QBrush(Qt::NoBrush));
    switch (item.Kind) {
    case TPrimitiveKind::Line:
        painter_.drawLine(QPointF(item.Points[0].x, item.Points[0].y),
                          QPointF(item.Points[1].x, item.Points[1].y));
        break;
    case TPrimitiveKind::Polyline:
        painter_.drawPolyline(ToPolygon(item.Points));
        break;
    case TPrimitiveKind::Polygon:
        painter_.drawPolygon(ToPolygon(item.Points));
        break;
    case TPrimitiveKind::Rectangle:
        painter_.drawRect(BoxOf(item));
        break;
    case TPrimitiveKind::Ellipse:
        painter_.drawEllipse(BoxOf(item));
        break;
    case TPrimitiveKind::Arc:
        // Both count counter-clockwise on the screen; Qt wants 1/16 degree.
        painter_.drawArc(BoxOf(item), int(std::lround(item.StartAngle * 16)),
                         int(std::lround(item.SweepAngle * 16)));
        break;
    case TPrimitiveKind::Text:
        break;
    }
}

void PicturePainter::DrawText(const TPrimitive& item) {
    QFont font = item.FontFamily.empty() ? QFont() : QFont(QString::fromStdString(item.FontFamily));
    if (item.FontFamily.empty()) font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(std::max(1, item.FontSize));
    font.setBold(item.Bold);
    font.setItalic(item.Italic);
    const QString text = QString::fromStdString(item.Text);
    const QFontMetricsF metrics(font);
    const double w = metrics.horizontalAdvance(text);
    const double h = metrics.height();
    double left = -w / 2;
    if (item.Align == TTextAlign::Left)
        left = 0;
    else if (item.Align == TTextAlign::Right)
        left = -w;

    painter_.save();
    painter_.setFont(font);
    painter_.setPen(ToQColor(item.TextColor));
    // The text's own box, centred vertically on the anchor, turned clockwise
    // about it.
    painter_.translate(item.Points[0].x, item.Points[0].y);
    painter_.rotate(item.Rotation);
    painter_.drawText(QRectF(left, -h / 2, w, h), Qt::AlignCenter | Qt::TextDontClip, text);
    painter_.restore();
}
