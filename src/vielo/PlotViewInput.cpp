#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cmath>
#include <limits>

#include "vielo/PlotView.h"

namespace {

// A rubber band thinner than this in one direction zooms only the other.
constexpr double MinBandPixels = 6;
// Zoom per wheel notch.
constexpr double WheelFactor = 0.8;

} // namespace

void PlotView::mousePressEvent(QMouseEvent* event) {
    const QPointF pos = event->position();
    const bool left = event->button() == Qt::LeftButton;
    const bool pan = event->button() == Qt::MiddleButton ||
                     (left && (event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier)));
    if (PlotRect().contains(pos) && (pan || left)) {
        drag_ = pan ? Drag::Pan : Drag::Zoom;
        dragStart_ = dragNow_ = pos;
        dragTime_ = time_;
        dragValue_ = value_;
        if (pan) {
            emit viewChangeStarting(false);
            setCursor(Qt::ClosedHandCursor);
        }
        event->accept();
        return;
    }
    QChartView::mousePressEvent(event);
}

void PlotView::mouseMoveEvent(QMouseEvent* event) {
    mouse_ = event->position();
    const QRectF plot = PlotRect();
    mouseInside_ = plot.contains(mouse_);
    if (drag_ == Drag::Pan) {
        const double dt = (mouse_.x() - dragStart_.x()) / plot.width() * dragTime_.Span();
        const double dv = (mouse_.y() - dragStart_.y()) / plot.height() * dragValue_.Span();
        SetValueRange({dragValue_.Min + dv, dragValue_.Max + dv});
        emit timeRangeRequested({dragTime_.Min - dt, dragTime_.Max - dt});
    } else if (drag_ == Drag::Zoom) {
        dragNow_ = mouse_;
    } else {
        QChartView::mouseMoveEvent(event);
    }
    const double nan = std::numeric_limits<double>::quiet_NaN();
    if (mouseInside_)
        emit cursorMoved(TimeAt(mouse_.x()), ValueAtY(mouse_.y()));
    else
        emit cursorMoved(nan, nan);
    viewport()->update();
}

void PlotView::mouseReleaseEvent(QMouseEvent* event) {
    const Drag was = drag_;
    if (was == Drag::None) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    if (event->buttons() & (Qt::LeftButton | Qt::MiddleButton)) return;
    drag_ = Drag::None;
    setCursor(Qt::CrossCursor);
    if (was == Drag::Zoom) {
        const QRectF band = QRectF(dragStart_, event->position()).normalized() & PlotRect();
        const bool wide = band.width() >= MinBandPixels;
        const bool tall = band.height() >= MinBandPixels;
        if (wide || tall) {
            // Both ranges from the present mapping: a new value range may
            // change the label widths and with them the plot rectangle.
            const AxisRange time{TimeAt(band.left()), TimeAt(band.right())};
            const AxisRange value{ValueAtY(band.bottom()), ValueAtY(band.top())};
            emit viewChangeStarting(false);
            if (tall) SetValueRange(LimitedZoom(value));
            if (wide) emit timeRangeRequested(time);
        }
    }
    viewport()->update();
    event->accept();
}

void PlotView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && PlotRect().contains(event->position())) {
        drag_ = Drag::None;
        emit fitRequested();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}

void PlotView::wheelEvent(QWheelEvent* event) {
    // Some systems turn Shift+wheel into a horizontal wheel.
    const QPoint delta = event->angleDelta();
    const int notches = delta.y() ? delta.y() : delta.x();
    const QRectF plot = PlotRect();
    if (notches == 0 || plot.isEmpty()) return;
    const double factor = std::pow(WheelFactor, notches / 120.0);
    const bool timeOnly = event->modifiers() & Qt::ControlModifier;
    const bool valueOnly = event->modifiers() & Qt::ShiftModifier;
    const QPointF pos = plot.contains(event->position()) ? event->position() : plot.center();
    emit viewChangeStarting(true);
    ZoomAround(pos, valueOnly ? 1 : factor, timeOnly ? 1 : factor);
    event->accept();
}

void PlotView::ZoomAround(QPointF pos, double timeFactor, double valueFactor) {
    const double t = TimeAt(pos.x()), v = ValueAtY(pos.y());
    if (valueFactor != 1)
        SetValueRange(
            LimitedZoom({v - (v - value_.Min) * valueFactor, v + (value_.Max - v) * valueFactor}));
    if (timeFactor != 1)
        emit timeRangeRequested(
            {t - (t - time_.Min) * timeFactor, t + (time_.Max - t) * timeFactor});
}

void PlotView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && drag_ != Drag::None) {
        if (drag_ == Drag::Pan) {
            SetValueRange(dragValue_);
            emit timeRangeRequested(dragTime_);
        }
        drag_ = Drag::None;
        setCursor(Qt::CrossCursor);
        viewport()->update();
        event->accept();
        return;
    }
    QChartView::keyPressEvent(event);
}

void PlotView::leaveEvent(QEvent* event) {
    mouseInside_ = false;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    emit cursorMoved(nan, nan);
    viewport()->update();
    QChartView::leaveEvent(event);
}
