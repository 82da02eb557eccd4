#include "vielo/PlotArea.h"

#include <QChart>
#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

#include "vielo/PlotStyle.h"
#include "vielo/PlotView.h"

namespace {

// Wheel steps closer together than this are one zoom for "previous view".
constexpr qint64 GestureMilliseconds = 800;
constexpr std::size_t HistoryDepth = 100;

} // namespace

PlotArea::PlotArea(QWidget* parent) : QWidget(parent), layout_(new QVBoxLayout(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    setAutoFillBackground(true);
    QPalette p = palette();
    p.setColor(QPalette::Window, Qt::white);
    setPalette(p);
    Rebuild();
}

void PlotArea::SetData(std::shared_ptr<const GrpData> data) {
    const int inputs = data ? data->InputCount() : 0;
    // A reloaded run of the same schematic keeps the user's choice of curves.
    if (static_cast<int>(visible_.size()) != inputs) visible_.assign(inputs, true);
    data_ = std::move(data);
    history_.clear();
    Rebuild();
    emit viewChanged();
}

void PlotArea::SetStacked(bool stacked) {
    if (stacked == stacked_) return;
    stacked_ = stacked;
    history_.clear();
    Rebuild();
    emit viewChanged();
}

void PlotArea::Rebuild() {
    while (QLayoutItem* item = layout_->takeAt(0)) {
        delete item->widget();
        delete item;
    }
    views_.clear();

    std::vector<std::vector<int>> groups;
    const int inputs = static_cast<int>(visible_.size());
    if (stacked_ && inputs > 0) {
        for (int i = 0; i < inputs; ++i)
            groups.push_back({i});
    } else {
        groups.emplace_back();
        for (int i = 0; i < inputs; ++i)
            groups.back().push_back(i);
    }
    for (const auto& group : groups) {
        auto* view = new PlotView(this);
        view->SetCurves(data_, group);
        if (stacked_ && inputs > 0) {
            view->SetLegendShown(false);
            view->SetValueTitle(QString::fromStdString(InputName(*data_, group.front())));
        }
        for (int input : group)
            view->SetCurveVisible(input, stacked_ || visible_[input]);
        connect(view, &PlotView::viewChangeStarting, this, &PlotArea::SaveView);
        connect(view, &PlotView::timeRangeRequested, this, [this](AxisRange r) {
            ApplyTimeRange(LimitedZoom(r));
            emit viewChanged();
        });
        connect(view, &PlotView::fitRequested, this, &PlotArea::FitView);
        connect(view, &PlotView::curveToggleRequested, this,
                [this](int input) { SetCurveVisible(input, !CurveVisible(input)); });
        connect(view, &PlotView::cursorMoved, this, [this, view](double t, double v) {
            for (PlotView* other : views_)
                if (other != view) other->SetSharedCursor(t);
            emit cursorMoved(t, v);
        });
        connect(view->chart(), &QChart::plotAreaChanged, this, &PlotArea::ScheduleAlign);
        layout_->addWidget(view, 1);
        views_.push_back(view);
    }
    auto* placeholder = new QLabel("Все входы скрыты", this);
    placeholder->setAlignment(Qt::AlignCenter);
    layout_->addWidget(placeholder, 1);
    UpdateTitles();
    Fit();
}

void PlotArea::UpdateTitles() {
    PlotView* bottom = nullptr;
    for (std::size_t i = 0; i < views_.size(); ++i) {
        PlotView* view = views_[i];
        const bool shown = !stacked_ || visible_.empty() || visible_[i];
        view->setVisible(shown);
        view->SetTimeTitle(false);
        if (shown) bottom = view;
    }
    if (bottom) bottom->SetTimeTitle(true);
    layout_->itemAt(layout_->count() - 1)->widget()->setVisible(!bottom);
    ScheduleAlign();
}

bool PlotArea::CurveVisible(int input) const {
    return input >= 0 && input < static_cast<int>(visible_.size()) && visible_[input];
}

void PlotArea::SetCurveVisible(int input, bool visible) {
    if (input < 0 || input >= static_cast<int>(visible_.size()) || visible_[input] == visible)
        return;
    visible_[input] = visible;
    if (stacked_) {
        UpdateTitles();
    } else {
        views_.front()->SetCurveVisible(input, visible);
        // Until the user zooms, the values axis follows the curves shown.
        if (history_.empty()) FitValues(views_.front());
    }
    emit curveVisibilityChanged(input, visible);
}

void PlotArea::Fit() {
    AxisRange time{0, 1};
    if (data_ && data_->SampleCount() > 0)
        time = PaddedRange(data_->Times.front(), data_->Times.back(), 0);
    ApplyTimeRange(time);
    for (PlotView* view : views_)
        FitValues(view);
}

void PlotArea::FitView() {
    SaveView(false);
    Fit();
    emit viewChanged();
}

void PlotArea::FitValues(PlotView* view) {
    AxisRange all{-1e300, 1e300};
    view->SetValueRange(view->FittedValueRange(all));
}

void PlotArea::ApplyTimeRange(AxisRange range) {
    time_ = range;
    for (PlotView* view : views_)
        view->SetTimeRange(range);
}

void PlotArea::Zoom(double factor) {
    SaveView(true);
    const double t = 0.5 * (time_.Min + time_.Max), half = 0.5 * time_.Span() * factor;
    for (PlotView* view : views_) {
        const AxisRange v = view->ValueRange();
        const double c = 0.5 * (v.Min + v.Max), h = 0.5 * v.Span() * factor;
        view->SetValueRange(LimitedZoom({c - h, c + h}));
    }
    ApplyTimeRange(LimitedZoom({t - half, t + half}));
    emit viewChanged();
}

void PlotArea::Pan(double dx, double dy) {
    SaveView(true);
    for (PlotView* view : views_) {
        const AxisRange v = view->ValueRange();
        view->SetValueRange({v.Min + dy * v.Span(), v.Max + dy * v.Span()});
    }
    ApplyTimeRange({time_.Min + dx * time_.Span(), time_.Max + dx * time_.Span()});
    emit viewChanged();
}

void PlotArea::SaveView(bool continuous) {
    if (continuous && lastContinuous_.isValid() &&
        lastContinuous_.elapsed() < GestureMilliseconds) {
        lastContinuous_.restart();
        return;
    }
    if (continuous)
        lastContinuous_.start();
    else
        lastContinuous_.invalidate();
    ViewState state{time_, {}};
    for (PlotView* view : views_)
        state.Values.push_back(view->ValueRange());
    history_.push_back(std::move(state));
    if (history_.size() > HistoryDepth) history_.erase(history_.begin());
}

bool PlotArea::PreviousView() {
    if (history_.empty()) return false;
    const ViewState state = history_.back();
    history_.pop_back();
    lastContinuous_.invalidate();
    for (std::size_t i = 0; i < views_.size() && i < state.Values.size(); ++i)
        views_[i]->SetValueRange(state.Values[i]);
    ApplyTimeRange(state.Time);
    emit viewChanged();
    return true;
}

void PlotArea::ScheduleAlign() {
    if (alignPending_) return;
    alignPending_ = true;
    QMetaObject::invokeMethod(this, &PlotArea::AlignPlots, Qt::QueuedConnection);
}

void PlotArea::AlignPlots() {
    // Stacked plots share the time axis, so their plot areas must line up
    // although their value labels differ in width: each chart's left margin
    // makes up for the difference.
    alignPending_ = false;
    std::vector<double> axisWidths;
    double widest = 0;
    for (PlotView* view : views_) {
        const QChart* chart = view->chart();
        axisWidths.push_back(chart->plotArea().left() - chart->margins().left());
        if (!view->isHidden()) widest = std::max(widest, axisWidths.back());
    }
    for (std::size_t i = 0; i < views_.size(); ++i) {
        QMargins margins = views_[i]->chart()->margins();
        const int left =
            PlotMarginLeft + (stacked_ ? static_cast<int>(std::lround(widest - axisWidths[i])) : 0);
        if (margins.left() == left) continue;
        margins.setLeft(left);
        views_[i]->chart()->setMargins(margins);
    }
}

QImage PlotArea::Render(QSize size) {
    for (PlotView* view : views_)
        view->SetOverlaysShown(false);
    if (size.isValid() && size != this->size()) resize(size);
    // Layout, the choice of ticks and the alignment of stacked plots each
    // take a round of events to settle.
    for (int round = 0; round < 8; ++round) {
        QCoreApplication::processEvents();
        if (round >= 2 && !alignPending_) break;
    }
    QImage image(this->size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    render(&painter);
    painter.end();
    for (PlotView* view : views_)
        view->SetOverlaysShown(true);
    return image;
}
