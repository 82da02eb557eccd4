#include "vielo/PlotView.h"

#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QValueAxis>
#include <cmath>
#include <limits>

#include "vielo/PlotStyle.h"
#include "vielo/SampleSeries.h"

namespace {

// Pixels per tick interval below which labels start to crowd.
constexpr double TimeTickPixels = 90;
constexpr double ValueTickPixels = 45;
constexpr double ValueMargin = 0.05;

int MinorTicks(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step) + 1e-9));
    return mantissa > 1.5 && mantissa < 2.5 ? 1 : 4;
}

} // namespace

PlotView::PlotView(QWidget* parent)
    : QChartView(parent), timeAxis_(new QValueAxis), valueAxis_(new QValueAxis),
      sharedCursor_(std::numeric_limits<double>::quiet_NaN()) {
    QChart* c = chart();
    StyleChart(c);
    StyleAxis(timeAxis_);
    StyleAxis(valueAxis_);
    c->addAxis(timeAxis_, Qt::AlignBottom);
    c->addAxis(valueAxis_, Qt::AlignLeft);
    SetTimeTitle(true);
    setRenderHint(QPainter::Antialiasing);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setMinimumSize(160, 100);
    connect(c, &QChart::plotAreaChanged, this, [this] {
        UpdateTicks();
        UpdatePoints();
    });
    SetTimeRange(time_);
    SetValueRange(value_);
}

void PlotView::SetCurves(std::shared_ptr<const GrpData> data, const std::vector<int>& inputs) {
    for (const Curve& curve : curves_) {
        chart()->removeSeries(curve.Series);
        delete curve.Series;
    }
    curves_.clear();
    data_ = std::move(data);
    inputs_ = inputs;
    pointsBuckets_ = 0;
    curveOf_.assign(data_ ? std::size_t(data_->InputCount()) : 0, -1);
    curves_.reserve(inputs_.size());
    for (int input : inputs_) {
        auto* series = new QLineSeries;
        series->setName(QString::fromStdString(InputName(*data_, input)));
        QPen pen(CurveColor(input), CurveWidth);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        series->setPen(pen);
        chart()->addSeries(series);
        series->attachAxis(timeAxis_);
        series->attachAxis(valueAxis_);
        if (input >= 0 && std::size_t(input) < curveOf_.size())
            curveOf_[std::size_t(input)] = int(curves_.size());
        curves_.push_back({input, series});
    }
    // The legend lists its markers in series order; asking it per series
    // would search the whole list each time.
    const QList<QLegendMarker*> markers = chart()->legend()->markers();
    for (std::size_t i = 0; i < curves_.size() && qsizetype(i) < markers.size(); ++i) {
        Curve& curve = curves_[i];
        curve.Marker = markers[qsizetype(i)];
        const int input = curve.Input;
        connect(curve.Marker, &QLegendMarker::clicked, this,
                [this, input] { emit curveToggleRequested(input); });
    }
    UpdatePoints();
}

void PlotView::SetCurveVisible(int input, bool visible) {
    if (input < 0 || std::size_t(input) >= curveOf_.size() || curveOf_[std::size_t(input)] < 0)
        return;
    const Curve& curve = curves_[std::size_t(curveOf_[std::size_t(input)])];
    curve.Series->setVisible(visible);
    // A hidden series loses its legend entry; keep it, faded, so that a
    // click brings the curve back.
    if (QLegendMarker* marker = curve.Marker) {
        marker->setVisible(true);
        QColor color = CurveColor(input);
        QColor label(0x20, 0x20, 0x20);
        if (!visible) {
            color.setAlpha(60);
            label.setAlpha(90);
        }
        marker->setBrush(color);
        marker->setPen(QPen(color));
        marker->setLabelBrush(label);
    }
    viewport()->update();
}

bool PlotView::AnyCurveVisible() const {
    for (const Curve& curve : curves_)
        if (curve.Series->isVisible()) return true;
    return false;
}

void PlotView::SetTimeRange(AxisRange range) {
    time_ = range;
    UpdateTicks();
    UpdatePoints();
    RefreshCursor();
}

void PlotView::SetValueRange(AxisRange range) {
    value_ = range;
    UpdateTicks();
    RefreshCursor();
}

void PlotView::RefreshCursor() {
    // The mouse now points at another time and value.
    if (mouseInside_) emit cursorMoved(TimeAt(mouse_.x()), ValueAtY(mouse_.y()));
}

AxisRange PlotView::FittedValueRange(AxisRange time) const {
    double lo = 0, hi = 0;
    bool any = false;
    for (const Curve& curve : curves_) {
        if (!curve.Series->isVisible()) continue;
        double a, b;
        const auto& values = data_->Values[curve.Input];
        if (!FiniteExtent(data_->Times, values, time.Min, time.Max, a, b)) continue;
        lo = any ? std::min(lo, a) : a;
        hi = any ? std::max(hi, b) : b;
        any = true;
    }
    return PaddedRange(lo, hi, ValueMargin);
}

void PlotView::SetTimeTitle(bool shown) {
    timeAxis_->setTitleText(shown ? "Время, с" : QString());
}

void PlotView::SetValueTitle(const QString& title) {
    valueAxis_->setTitleText(title);
}

void PlotView::SetLegendShown(bool shown) {
    chart()->legend()->setVisible(shown);
}

void PlotView::SetSharedCursor(double time) {
    sharedCursor_ = time;
    viewport()->update();
}

void PlotView::SetOverlaysShown(bool shown) {
    overlays_ = shown;
    viewport()->update();
}

void PlotView::resizeEvent(QResizeEvent* event) {
    QChartView::resizeEvent(event);
    UpdateTicks();
}

QRectF PlotView::PlotRect() const {
    return mapFromScene(chart()->mapToScene(chart()->plotArea())).boundingRect();
}

void PlotView::UpdateTicks() {
    const QRectF plot = PlotRect();
    const double w = plot.width() > 1 ? plot.width() : width();
    const double h = plot.height() > 1 ? plot.height() : height();
    const auto apply = [](QValueAxis* axis, AxisRange r, double pixels, double perTick) {
        const double step = NiceStep(r.Span(), std::max(2, static_cast<int>(pixels / perTick)));
        // Ticks are placed by adding the step up from below the range, and
        // the sum can end a hair below zero, labelled "-0.0", or a hair past
        // the end, losing the last tick. Anchored a millionth of a step above
        // the multiples, on an axis a little longer than the range, they
        // land right, and no label or pixel shows the shifts.
        const double hair = step * 1e-5;
        // The axis lays its ticks out at every change; the coarser of the two
        // steps while the range changes keeps that to a few ticks.
        axis->setTickInterval(std::max(step, axis->tickInterval()));
        axis->setRange(r.Min - hair, r.Max + hair);
        axis->setTickAnchor(step * 1e-6);
        axis->setTickInterval(step);
        axis->setMinorTickCount(MinorTicks(step));
        axis->setLabelFormat(QString::fromStdString(
            TickLabelFormat(step, std::max(std::abs(r.Min), std::abs(r.Max)))));
    };
    apply(timeAxis_, time_, w, TimeTickPixels);
    apply(valueAxis_, value_, h, ValueTickPixels);
}

void PlotView::UpdatePoints() {
    if (!data_) return;
    const int buckets = std::max(1, static_cast<int>(PlotRect().width()));
    // Layout passes repeat the same request; choosing points costs a pass
    // over every sample in view.
    if (pointsTime_ == time_ && pointsBuckets_ == buckets) return;
    pointsTime_ = time_;
    pointsBuckets_ = buckets;
    for (const Curve& curve : curves_) {
        const auto points =
            VisiblePoints(data_->Times, data_->Values[curve.Input], time_.Min, time_.Max, buckets);
        QList<QPointF> list;
        list.reserve(static_cast<qsizetype>(points.size()));
        for (const PlotPoint& p : points)
            list.append(QPointF(p.T, p.V));
        const double width = points.size() > DensePointsPerPixel * buckets ? 1.0 : CurveWidth;
        if (curve.Series->pen().widthF() != width) {
            QPen pen = curve.Series->pen();
            pen.setWidthF(width);
            curve.Series->setPen(pen);
        }
        curve.Series->replace(list);
    }
}

double PlotView::TimeAt(double x) const {
    const QRectF plot = PlotRect();
    return time_.Min + (x - plot.left()) / plot.width() * time_.Span();
}

double PlotView::ValueAtY(double y) const {
    const QRectF plot = PlotRect();
    return value_.Min + (plot.bottom() - y) / plot.height() * value_.Span();
}

double PlotView::XOf(double time) const {
    const QRectF plot = PlotRect();
    return plot.left() + (time - time_.Min) / time_.Span() * plot.width();
}

double PlotView::YOf(double value) const {
    const QRectF plot = PlotRect();
    return plot.bottom() - (value - value_.Min) / value_.Span() * plot.height();
}
