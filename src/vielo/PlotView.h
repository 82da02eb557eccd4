#pragma once

#include <QChartView>
#include <memory>
#include <vector>

#include "vielo/AxisScale.h"
#include "vielo/GrpFile.h"

QT_BEGIN_NAMESPACE
class QLineSeries;
class QValueAxis;
QT_END_NAMESPACE

// One chart of some inputs against time, with the mouse controls: wheel zoom
// (Ctrl: time only, Shift: values only), rubber-band zoom with the left
// button, pan with the middle button or Shift and the left button,
// double-click to fit, and a cross-hair reading out time and values.
// The time range is shared by all plots of a window, so changes the user
// asks for go out as signals and come back through SetTimeRange.
class PlotView : public QChartView {
    Q_OBJECT
public:
    explicit PlotView(QWidget* parent = nullptr);

    void SetCurves(std::shared_ptr<const GrpData> data, const std::vector<int>& inputs);
    const std::vector<int>& Inputs() const { return inputs_; }
    void SetCurveVisible(int input, bool visible);
    bool AnyCurveVisible() const;

    void SetTimeRange(AxisRange range);
    void SetValueRange(AxisRange range);
    AxisRange TimeRange() const { return time_; }
    AxisRange ValueRange() const { return value_; }
    // The values of the shown curves over a time range, with a margin.
    AxisRange FittedValueRange(AxisRange time) const;

    void SetTimeTitle(bool shown);
    void SetValueTitle(const QString& title);
    void SetLegendShown(bool shown);
    // A cross-hair time set from another plot of the window; NaN hides it.
    void SetSharedCursor(double time);
    // Off while rendering a picture, so no cross-hair gets into it.
    void SetOverlaysShown(bool shown);
    QRectF PlotRect() const; // the plot area in viewport pixels

signals:
    // Before a change of view the user asked for; `continuous` for steps
    // of one gesture (wheel), which the history keeps as one.
    void viewChangeStarting(bool continuous);
    void timeRangeRequested(AxisRange range);
    void fitRequested();
    void curveToggleRequested(int input);
    // Time and value under the mouse; NaN when it leaves the plot.
    void cursorMoved(double time, double value);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void drawForeground(QPainter* painter, const QRectF& rect) override;

private:
    struct Curve {
        int Input;
        QLineSeries* Series;
        QLegendMarker* Marker = nullptr;
    };
    enum class Drag { None, Zoom, Pan };

    void UpdateTicks();
    void UpdatePoints();
    void RefreshCursor();
    double TimeAt(double x) const;
    double ValueAtY(double y) const;
    double XOf(double time) const;
    double YOf(double value) const;
    void DrawCrossHair(QPainter* painter) const;
    void DrawReadout(QPainter* painter, double time, QPointF anchor) const;
    void ZoomAround(QPointF pos, double timeFactor, double valueFactor);

    std::shared_ptr<const GrpData> data_;
    std::vector<int> inputs_;
    std::vector<Curve> curves_;
    std::vector<int> curveOf_; // index into curves_ per input, -1 when not here
    QValueAxis* timeAxis_;
    QValueAxis* valueAxis_;
    AxisRange time_{0, 1};
    AxisRange value_{-1, 1};
    AxisRange pointsTime_; // what the series now hold points for
    int pointsBuckets_ = 0;

    Drag drag_ = Drag::None;
    QPointF dragStart_, dragNow_;
    AxisRange dragTime_, dragValue_;
    bool mouseInside_ = false;
    QPointF mouse_;
    double sharedCursor_;
    bool overlays_ = true;
};
