#include <gtest/gtest.h>

#include "model/TRotateableMetafile.h"

namespace {

// Independent reference: quarter turns clockwise on the screen (y down),
// then the mirrors.
TPoint Reference(TPoint p, int quarters, int sx, int sy) {
    for (int i = 0; i < quarters; ++i) p = {-p.y, p.x};
    return {p.x * sx, p.y * sy};
}

TEST(TransformMatrix, QuarterTurnsAndMirrorsMatchTheScreenConvention) {
    const TPoint probes[] = {{1, 0}, {0, 1}, {3, -7}, {-5, 2}};
    for (int q = 0; q < 4; ++q)
        for (int sx : {1, -1})
            for (int sy : {1, -1}) {
                const TTransformMatrix m = TTransformMatrix::Build(90 * q, sx, sy);
                EXPECT_EQ(m.dx, 0);
                EXPECT_EQ(m.dy, 0);
                for (TPoint p : probes)
                    EXPECT_EQ(m.Apply(p), Reference(p, q, sx, sy))
                        << "angle " << 90 * q << " sx " << sx << " sy " << sy;
            }
}

TEST(TransformMatrix, NinetyDegreesMovesARightPointBelowTheOrigin) {
    EXPECT_EQ(TTransformMatrix::Build(90, 1, 1).Apply({1, 0}), (TPoint{0, 1}));
}

TEST(TransformMatrix, AnglesReduceModuloFullTurns) {
    EXPECT_EQ(TTransformMatrix::Build(-90, 1, 1), TTransformMatrix::Build(270, 1, 1));
    EXPECT_EQ(TTransformMatrix::Build(450, 1, 1), TTransformMatrix::Build(90, 1, 1));
    EXPECT_EQ(TTransformMatrix::Build(360, -1, 1), TTransformMatrix::Build(0, -1, 1));
}

TEST(TransformMatrix, RectangleCornersAreSortedAfterTheTurn) {
    const TTransformMatrix m = TTransformMatrix::Build(90, 1, 1);
    EXPECT_EQ(m.ApplyRect({0, 0, 9, 19}), (TRect{-19, 0, 0, 9}));
}

TPicture LinePicture() {
    TPicture p;
    p.Width = 10;
    p.Height = 20;
    TPrimitive line;
    line.Kind = TPrimitiveKind::Line;
    line.Points = {{0, 0}, {9, 0}};
    line.Pen = {clBlack, 1, TPenStyle::Dash};
    p.Items.push_back(line);
    TPrimitive box;
    box.Kind = TPrimitiveKind::Rectangle;
    box.Points = {{2, 3}, {5, 8}};
    box.Brush = {true, clBlue};
    p.Items.push_back(box);
    TPrimitive text;
    text.Kind = TPrimitiveKind::Text;
    text.Text = "K";
    text.Points = {{0, 10}};
    text.Align = TTextAlign::Left;
    p.Items.push_back(text);
    return p;
}

TEST(RotateableMetafile, PlainPlayOnlyShiftsIntoTheDestination) {
    TRotateableMetafile m;
    m.Picture = LinePicture();
    const auto out = m.Play({5, 7, 15, 27});
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].Points, (std::vector<TPoint>{{5, 7}, {14, 7}}));
    EXPECT_EQ(out[1].Points, (std::vector<TPoint>{{7, 10}, {10, 15}}));
}

TEST(RotateableMetafile, QuarterTurnPutsTheTopEdgeOnTheRight) {
    TRotateableMetafile m;
    m.Picture = LinePicture();
    m.Angle = 90;
    // A turned 10 x 20 picture occupies a 20 x 10 box; points turn about the
    // box centre, so x' = 20 − y and y' = x.
    const auto out = m.Play({0, 0, 20, 10});
    EXPECT_EQ(out[0].Points, (std::vector<TPoint>{{20, 0}, {20, 9}}));
    // The box (2,3)-(5,8) turns to x in 20-8..20-3, y in 2..5.
    EXPECT_EQ(out[1].Points, (std::vector<TPoint>{{12, 2}, {17, 5}}));
    EXPECT_EQ(out[2].Rotation, 90);
}

TEST(RotateableMetafile, MirroringTwiceRestoresTheDrawing) {
    TRotateableMetafile m;
    m.Picture = LinePicture();
    m.Angle = 180;
    const auto before = m.Play({0, 0, 10, 20});
    m.XFlip = true;
    const auto mirrored = m.Play({0, 0, 10, 20});
    EXPECT_NE(before[0].Points, mirrored[0].Points);
    m.XFlip = false;
    EXPECT_EQ(m.Play({0, 0, 10, 20}), before);
}

TEST(RotateableMetafile, MirroredTextStaysReadableAndSwapsItsAnchoring) {
    TRotateableMetafile m;
    m.Picture = LinePicture();
    m.XFlip = true;
    const auto out = m.Play({0, 0, 10, 20});
    EXPECT_EQ(out[2].Points[0], (TPoint{10, 10}));
    EXPECT_EQ(out[2].Align, TTextAlign::Right);
    EXPECT_EQ(out[2].Rotation, 0);
}

TEST(RotateableMetafile, HighlightReplacesEveryPenAndKeepsBrushes) {
    TRotateableMetafile m;
    m.Picture = LinePicture();
    m.Highlight = true;
    m.HighlightWidth = 2;
    m.HighlightColor = clRed;
    const auto out = m.Play({0, 0, 10, 20});
    for (const auto& p : out) {
        EXPECT_EQ(p.Pen.Color, clRed);
        EXPECT_EQ(p.Pen.Width, 2);
    }
    EXPECT_EQ(out[0].Pen.Style, TPenStyle::Dash);
    EXPECT_EQ(out[1].Brush, (TBrush{true, clBlue}));
    // Geometry is unchanged by the highlight alone.
    EXPECT_EQ(out[0].Points, (std::vector<TPoint>{{0, 0}, {9, 0}}));
}

TEST(RotateableMetafile, ArcKeepsItsStretchUnderTurnsAndMirrors) {
    // A quarter arc from 3 o'clock to 12 o'clock (counter-clockwise on screen).
    TRotateableMetafile m;
    m.Picture.Width = 11;
    m.Picture.Height = 11;
    TPrimitive arc;
    arc.Kind = TPrimitiveKind::Arc;
    arc.Points = {{0, 0}, {10, 10}};
    arc.StartAngle = 0;
    arc.SweepAngle = 90;
    m.Picture.Items.push_back(arc);

    m.Angle = 90;  // clockwise: the stretch now runs from 6 o'clock to 3 o'clock
    auto out = m.Play({0, 0, 11, 11});
    EXPECT_DOUBLE_EQ(out[0].StartAngle, 270);
    EXPECT_DOUBLE_EQ(out[0].SweepAngle, 90);

    m.Angle = 0;
    m.XFlip = true;  // from 9 o'clock clockwise to 12 o'clock
    out = m.Play({0, 0, 11, 11});
    EXPECT_DOUBLE_EQ(out[0].StartAngle, 180);
    EXPECT_DOUBLE_EQ(out[0].SweepAngle, -90);
}

} // namespace
