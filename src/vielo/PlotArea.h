#pragma once

#include <QElapsedTimer>
#include <QWidget>
#include <memory>
#include <vector>

#include "vielo/AxisScale.h"
#include "vielo/GrpFile.h"

class PlotView;
class QVBoxLayout;

// The plots of one file: all inputs in one chart, or one chart per input
// stacked over a shared time axis. Keeps which curves are shown and the
// history of views for "previous view".
class PlotArea : public QWidget {
    Q_OBJECT
public:
    explicit PlotArea(QWidget* parent = nullptr);

    void SetData(std::shared_ptr<const GrpData> data);
    const std::shared_ptr<const GrpData>& Data() const { return data_; }

    void SetStacked(bool stacked);
    bool Stacked() const { return stacked_; }
    void SetCurveVisible(int input, bool visible);
    bool CurveVisible(int input) const;

    void FitView();
    // factor < 1 zooms in, about the middle of every plot.
    void Zoom(double factor);
    // Moves the view by fractions of its width and height.
    void Pan(double dx, double dy);
    bool PreviousView();
    bool HasPreviousView() const { return !history_.empty(); }

    AxisRange TimeRange() const { return time_; }
    const std::vector<PlotView*>& Views() const { return views_; }

    // The plots as they look now, without cross-hair; a null size keeps the
    // present size, another one lays the plots out anew for it.
    QImage Render(QSize size = QSize());

signals:
    void curveVisibilityChanged(int input, bool visible);
    void cursorMoved(double time, double value);
    void viewChanged();

private:
    struct ViewState {
        AxisRange Time;
        std::vector<AxisRange> Values;
    };

    void Rebuild();
    void Fit();
    void ApplyTimeRange(AxisRange range);
    void SaveView(bool continuous);
    void FitValues(PlotView* view);
    void UpdateTitles();
    void ScheduleAlign();
    void AlignPlots();

    std::shared_ptr<const GrpData> data_;
    std::vector<bool> visible_;
    bool stacked_ = false;
    AxisRange time_{0, 1};
    std::vector<PlotView*> views_;
    std::vector<ViewState> history_;
    QElapsedTimer lastContinuous_;
    bool alignPending_ = false;
    QVBoxLayout* layout_;
};
