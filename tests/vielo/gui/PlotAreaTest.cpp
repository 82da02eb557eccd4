#include <gtest/gtest.h>

#include <QApplication>
#include <QChart>
#include <QElapsedTimer>
#include <QLegend>
#include <QLegendMarker>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "GuiHelpers.h"
#include "vielo/PlotArea.h"
#include "vielo/PlotStyle.h"
#include "vielo/PlotView.h"

namespace {

class PlotAreaTest : public ::testing::Test {
protected:
    void SetUp() override {
        run = ControlRun();
        area.SetData(Shared(run));
        ShowOffscreen(area, QSize(900, 600));
    }
    PlotView* View(std::size_t i = 0) { return area.Views().at(i); }

    // The time and value a viewport pixel stands for, from the plot rectangle.
    double TimeAt(PlotView* v, double x) {
        const QRectF r = v->PlotRect();
        return v->TimeRange().Min + (x - r.left()) / r.width() * v->TimeRange().Span();
    }
    double ValueAt(PlotView* v, double y) {
        const QRectF r = v->PlotRect();
        return v->ValueRange().Min + (r.bottom() - y) / r.height() * v->ValueRange().Span();
    }
    void Wheel(PlotView* v, QPointF pos, int delta, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QWheelEvent e(pos, v->viewport()->mapToGlobal(pos), QPoint(), QPoint(0, delta),
                      Qt::NoButton, mods, Qt::NoScrollPhase, false);
        QApplication::sendEvent(v->viewport(), &e);
    }

    GrpData run;
    PlotArea area;
};

void ExpectRange(AxisRange actual, AxisRange expected, double tolerance = 1e-9) {
    EXPECT_NEAR(actual.Min, expected.Min, tolerance);
    EXPECT_NEAR(actual.Max, expected.Max, tolerance);
}

TEST_F(PlotAreaTest, FitShowsTheWholeRunWithAMarginOnValues) {
    ASSERT_EQ(area.Views().size(), 1u);
    ExpectRange(area.TimeRange(), {0, 2});
    ExpectRange(View()->ValueRange(), ExpectedValueRange(run, {0, 1, 2}));
    EXPECT_FALSE(area.HasPreviousView());
}

TEST_F(PlotAreaTest, HidingACurveRefitsTheValuesUntilTheUserZooms) {
    QSignalSpy spy(&area, &PlotArea::curveVisibilityChanged);
    area.SetCurveVisible(1, false);
    EXPECT_FALSE(area.CurveVisible(1));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toInt(), 1);
    EXPECT_FALSE(spy.at(0).at(1).toBool());
    ExpectRange(View()->ValueRange(), ExpectedValueRange(run, {0, 2}));

    area.Zoom(0.5);
    const AxisRange zoomed = View()->ValueRange();
    area.SetCurveVisible(1, true);
    ExpectRange(View()->ValueRange(), zoomed);
}

TEST_F(PlotAreaTest, ZoomPanAndPreviousView) {
    const AxisRange values = View()->ValueRange();
    area.Zoom(0.5);
    ExpectRange(area.TimeRange(), {0.5, 1.5});
    const double middle = 0.5 * (values.Min + values.Max);
    ExpectRange(View()->ValueRange(), {middle - values.Span() / 4, middle + values.Span() / 4});
    area.Pan(0.1, 0);
    ExpectRange(area.TimeRange(), {0.6, 1.6});

    // Pan right after the zoom belongs to the same gesture: one step back.
    ASSERT_TRUE(area.PreviousView());
    ExpectRange(area.TimeRange(), {0, 2});
    ExpectRange(View()->ValueRange(), values);
    EXPECT_FALSE(area.PreviousView());
}

TEST_F(PlotAreaTest, WheelZoomKeepsThePointUnderTheMouse) {
    PlotView* v = View();
    const QRectF plot = v->PlotRect();
    const QPointF pos(plot.left() + 0.3 * plot.width(), plot.top() + 0.6 * plot.height());
    const double t = TimeAt(v, pos.x()), y = ValueAt(v, pos.y());
    const AxisRange time = v->TimeRange(), value = v->ValueRange();
    const double timeSpan = time.Span(), valueSpan = value.Span();
    Wheel(v, pos, 120);
    // The point under the mouse divides both ranges as before, at 0.8 of the span.
    ExpectRange(v->TimeRange(), {t - 0.8 * (t - time.Min), t + 0.8 * (time.Max - t)});
    ExpectRange(v->ValueRange(), {y - 0.8 * (y - value.Min), y + 0.8 * (value.Max - y)});

    Wheel(v, pos, -120, Qt::ControlModifier); // time only, back out
    EXPECT_NEAR(v->TimeRange().Span(), timeSpan, 1e-9);
    EXPECT_NEAR(v->ValueRange().Span(), 0.8 * valueSpan, 1e-9);
    Wheel(v, pos, -120, Qt::ShiftModifier); // values only
    EXPECT_NEAR(v->ValueRange().Span(), valueSpan, 1e-9);

    // The steps of one wheel gesture are one step of history.
    ASSERT_TRUE(area.PreviousView());
    EXPECT_FALSE(area.HasPreviousView());
    ExpectRange(area.TimeRange(), {0, 2});
}

TEST_F(PlotAreaTest, RubberBandZoomsToTheDraggedRectangle) {
    PlotView* v = View();
    const QRectF plot = v->PlotRect();
    const QPoint a((plot.topLeft() + QPointF(100, 50)).toPoint());
    const QPoint b((plot.topLeft() + QPointF(400, 250)).toPoint());
    const AxisRange time{TimeAt(v, a.x()), TimeAt(v, b.x())};
    const AxisRange value{ValueAt(v, b.y()), ValueAt(v, a.y())};
    QTest::mousePress(v->viewport(), Qt::LeftButton, Qt::NoModifier, a);
    QTest::mouseMove(v->viewport(), (a + b) / 2);
    QTest::mouseMove(v->viewport(), b);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, Qt::NoModifier, b);
    ExpectRange(v->TimeRange(), time);
    ExpectRange(v->ValueRange(), value);
    EXPECT_TRUE(area.HasPreviousView());

    // A flat band zooms time alone.
    const QPoint c((plot.topLeft() + QPointF(200, 100)).toPoint());
    const QPoint d((plot.topLeft() + QPointF(300, 102)).toPoint());
    const AxisRange before = v->ValueRange();
    const AxisRange time2{TimeAt(v, c.x()), TimeAt(v, d.x())};
    QTest::mousePress(v->viewport(), Qt::LeftButton, Qt::NoModifier, c);
    QTest::mouseMove(v->viewport(), d);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, Qt::NoModifier, d);
    ExpectRange(v->TimeRange(), time2);
    ExpectRange(v->ValueRange(), before);

    // A click without a drag changes nothing.
    QTest::mouseClick(v->viewport(), Qt::LeftButton, Qt::NoModifier, c);
    ExpectRange(v->TimeRange(), time2);
}

TEST_F(PlotAreaTest, MiddleDragPansAndEscapeCancels) {
    PlotView* v = View();
    const QRectF plot = v->PlotRect();
    const QPoint a(plot.center().toPoint());
    const QPoint b = a + QPoint(90, -40);
    const double dt = 90 / plot.width() * 2.0;
    const double dv = 40 / plot.height() * v->ValueRange().Span();
    const AxisRange values = v->ValueRange();
    QTest::mousePress(v->viewport(), Qt::MiddleButton, Qt::NoModifier, a);
    QTest::mouseMove(v->viewport(), b);
    QTest::mouseRelease(v->viewport(), Qt::MiddleButton, Qt::NoModifier, b);
    ExpectRange(v->TimeRange(), {-dt, 2 - dt});
    ExpectRange(v->ValueRange(), {values.Min - dv, values.Max - dv});

    const AxisRange time = v->TimeRange(), shifted = v->ValueRange();
    QTest::mousePress(v->viewport(), Qt::LeftButton, Qt::ShiftModifier, a);
    QTest::mouseMove(v->viewport(), b);
    EXPECT_GT(std::abs(v->TimeRange().Min - time.Min), 1e-6);
    QTest::keyClick(v, Qt::Key_Escape);
    QTest::mouseRelease(v->viewport(), Qt::LeftButton, Qt::ShiftModifier, b);
    ExpectRange(v->TimeRange(), time);
    ExpectRange(v->ValueRange(), shifted);
}

TEST_F(PlotAreaTest, DoubleClickFitsAgain) {
    area.Zoom(0.25);
    PlotView* v = View();
    QTest::mouseDClick(v->viewport(), Qt::LeftButton, Qt::NoModifier,
                       v->PlotRect().center().toPoint());
    ExpectRange(area.TimeRange(), {0, 2});
    ExpectRange(v->ValueRange(), ExpectedValueRange(run, {0, 1, 2}));
}

TEST_F(PlotAreaTest, LegendClickTogglesTheCurve) {
    auto* series = View()->chart()->series().at(2);
    const auto markers = View()->chart()->legend()->markers(series);
    ASSERT_EQ(markers.size(), 1);
    emit markers.front()->clicked();
    EXPECT_FALSE(area.CurveVisible(2));
    EXPECT_FALSE(series->isVisible());
    EXPECT_TRUE(markers.front()->isVisible()); // still there to click again
    emit markers.front()->clicked();
    EXPECT_TRUE(area.CurveVisible(2));
}

TEST_F(PlotAreaTest, StackedPlotsShareTimeButFitTheirOwnValues) {
    area.SetStacked(true);
    ASSERT_EQ(area.Views().size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(View(i)->Inputs(), std::vector<int>{i});
        ExpectRange(View(i)->ValueRange(), ExpectedValueRange(run, {i}));
    }
    QApplication::processEvents();
    const QRectF plot = View(1)->PlotRect();
    Wheel(View(1), plot.center(), 240, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i)
        ExpectRange(View(i)->TimeRange(), area.TimeRange());
    EXPECT_LT(area.TimeRange().Span(), 1.5);

    area.SetCurveVisible(2, false);
    EXPECT_TRUE(View(2)->isHidden());
    EXPECT_FALSE(View(1)->isHidden());
}

TEST_F(PlotAreaTest, StackedPlotAreasLineUp) {
    // Input 2 needs wider value labels than the step of input 0.
    GrpData d = ControlRun();
    for (float& v : d.Values[1])
        v *= 1000;
    area.SetData(Shared(d));
    area.SetStacked(true);
    area.Render();
    const double left = View(0)->PlotRect().left();
    for (int i = 1; i < 3; ++i)
        EXPECT_NEAR(View(i)->PlotRect().left(), left, 1.0) << i;
}

TEST_F(PlotAreaTest, LargeChangesOfRangeStayQuick) {
    // Each axis passes through its old tick step on the new range or the
    // new step on the old one; a naive order lays out millions of ticks.
    GrpData big = ControlRun();
    for (float& v : big.Values[1])
        v *= 1e6f;
    QElapsedTimer timer;
    timer.start();
    area.SetData(Shared(big));
    area.SetData(Shared(ControlRun()));
    area.Zoom(1e-5);
    area.FitView();
    EXPECT_LT(timer.elapsed(), 1500);
}

TEST_F(PlotAreaTest, RenderedPictureShowsTheCurvesShown) {
    const QImage image = area.Render(QSize(800, 500));
    ASSERT_EQ(image.size(), QSize(800, 500));
    for (int i = 0; i < 3; ++i)
        EXPECT_GT(PixelsOfColour(image, CurveColor(i)), 300) << i;

    area.SetCurveVisible(1, false);
    const QImage without = area.Render();
    EXPECT_LT(PixelsOfColour(without, CurveColor(1)), 5);
    EXPECT_GT(PixelsOfColour(without, CurveColor(2)), 300);
}

TEST_F(PlotAreaTest, NoCrossHairInThePicture) {
    const QImage clean = area.Render();
    PlotView* v = View();
    HoverMouse(v->viewport(), v->PlotRect().center().toPoint());
    // On screen the cross-hair is there; in the picture it is not.
    EXPECT_NE(area.grab().toImage().convertToFormat(clean.format()), clean);
    EXPECT_EQ(area.Render(), clean);
}

TEST(PlotAreaEmpty, NoDataOrNoInputsStillDrawsAxes) {
    PlotArea area;
    ShowOffscreen(area, QSize(400, 300));
    EXPECT_EQ(area.Render().size(), QSize(400, 300));
    area.SetData(Shared(SineRun(0, 50)));
    ExpectRange(area.TimeRange(), {0, 0.49}, 1e-6);
    area.SetStacked(true);
    EXPECT_EQ(area.Views().size(), 1u);
    EXPECT_EQ(area.Render(QSize(300, 200)).size(), QSize(300, 200));
}

} // namespace
