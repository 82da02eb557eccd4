#include <QFontMetricsF>
#include <QLineSeries>
#include <QPainter>
#include <cmath>

#include "vielo/PlotStyle.h"
#include "vielo/PlotView.h"
#include "vielo/SampleSeries.h"

namespace {

// More lines than this make the box hide the plot it describes.
constexpr int MaxReadoutCurves = 8;

QString Number(double v) {
    return std::isfinite(v) ? QString::number(v, 'g', 6) : QStringLiteral("—");
}

} // namespace

void PlotView::drawForeground(QPainter* painter, const QRectF& rect) {
    QChartView::drawForeground(painter, rect);
    if (!overlays_) return;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    if (drag_ == Drag::Zoom) {
        const QRectF band = QRectF(dragStart_, dragNow_).normalized() & PlotRect();
        painter->setPen(QPen(QColor(0x1f, 0x77, 0xb4), 1));
        painter->setBrush(QColor(0x1f, 0x77, 0xb4, 40));
        painter->drawRect(band);
    }
    DrawCrossHair(painter);
    painter->restore();
}

void PlotView::DrawCrossHair(QPainter* painter) const {
    const bool own = mouseInside_ && drag_ != Drag::Pan;
    const double time = own ? TimeAt(mouse_.x()) : sharedCursor_;
    const QRectF plot = PlotRect();
    if (!std::isfinite(time) || plot.isEmpty()) return;
    const double x = XOf(time);
    if (x < plot.left() || x > plot.right()) return;

    QPen hair(QColor(0x50, 0x50, 0x50), 1, Qt::DashLine);
    painter->setPen(hair);
    painter->drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    if (own) painter->drawLine(QPointF(plot.left(), mouse_.y()), QPointF(plot.right(), mouse_.y()));

    for (const Curve& curve : curves_) {
        if (!curve.Series->isVisible()) continue;
        const double v = ValueAt(data_->Times, data_->Values[curve.Input], time);
        const double y = YOf(v);
        if (!std::isfinite(v) || y < plot.top() || y > plot.bottom()) continue;
        painter->setPen(QPen(Qt::white, 1.5));
        painter->setBrush(CurveColor(curve.Input));
        painter->drawEllipse(QPointF(x, y), 4, 4);
    }
    DrawReadout(painter, time, own ? mouse_ : QPointF(x, plot.top() + 4));
}

void PlotView::DrawReadout(QPainter* painter, double time, QPointF anchor) const {
    struct Line {
        QString Text;
        QColor Swatch;
    };
    std::vector<Line> lines{{"t = " + Number(time) + " с", QColor()}};
    if (mouseInside_ && drag_ != Drag::Pan)
        lines.push_back({"y = " + Number(ValueAtY(mouse_.y())), QColor()});
    int shown = 0;
    for (const Curve& curve : curves_) {
        if (!curve.Series->isVisible() || !data_) continue;
        if (++shown > MaxReadoutCurves) {
            lines.push_back({"…", QColor()});
            break;
        }
        const double v = ValueAt(data_->Times, data_->Values[curve.Input], time);
        lines.push_back({curve.Series->name() + ": " + Number(v), CurveColor(curve.Input)});
    }

    QFont font = painter->font();
    font.setPointSizeF(9);
    painter->setFont(font);
    const QFontMetricsF metrics(font);
    const double swatch = metrics.height() * 0.6, pad = 6, lineHeight = metrics.height();
    double textWidth = 0;
    for (const Line& line : lines)
        textWidth = std::max(textWidth, metrics.horizontalAdvance(line.Text));
    const QSizeF size(textWidth + swatch + 3 * pad, lines.size() * lineHeight + 2 * pad);

    const QRectF plot = PlotRect();
    QPointF corner = anchor + QPointF(14, 14);
    if (corner.x() + size.width() > plot.right()) corner.setX(anchor.x() - 14 - size.width());
    if (corner.y() + size.height() > plot.bottom()) corner.setY(anchor.y() - 14 - size.height());
    corner.setX(std::max(corner.x(), plot.left() + 2));
    corner.setY(std::max(corner.y(), plot.top() + 2));
    const QRectF box(corner, size);

    painter->setPen(QPen(QColor(0x90, 0x90, 0x90), 1));
    painter->setBrush(QColor(255, 255, 255, 235));
    painter->drawRoundedRect(box, 3, 3);
    double y = box.top() + pad;
    for (const Line& line : lines) {
        const double textLeft = box.left() + 2 * pad + swatch;
        if (line.Swatch.isValid()) {
            painter->setPen(Qt::NoPen);
            painter->setBrush(line.Swatch);
            painter->drawRect(
                QRectF(box.left() + pad, y + (lineHeight - swatch) / 2, swatch, swatch));
        }
        painter->setPen(QColor(0x20, 0x20, 0x20));
        painter->drawText(QPointF(textLeft, y + metrics.ascent()), line.Text);
        y += lineHeight;
    }
}
