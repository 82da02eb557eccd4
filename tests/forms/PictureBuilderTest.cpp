#include <gtest/gtest.h>

#include "forms/DrawingGeometry.h"
#include "forms/PictureBuilder.h"

namespace {

TEST(PictureBuilder, ItemsTakeThePenSetBeforeThem) {
    const TPicture p = PictureBuilder(30, 20)
                           .Line({0, 0}, {10, 0})
                           .Pen(2, TPenStyle::Dash)
                           .Rect({1, 1}, {9, 9}, true)
                           .Circle({15, 10}, 4);
    EXPECT_EQ(p.Width, 30);
    EXPECT_EQ(p.Height, 20);
    ASSERT_EQ(p.Items.size(), 3u);
    EXPECT_EQ(p.Items[0].Pen, (TPen{clBlack, 1, TPenStyle::Solid}));
    EXPECT_EQ(p.Items[1].Pen, (TPen{clBlack, 2, TPenStyle::Dash}));
    EXPECT_TRUE(p.Items[1].Brush.Filled);
    EXPECT_FALSE(p.Items[2].Brush.Filled);
    EXPECT_EQ(p.Items[2].Points, (std::vector<TPoint>{{11, 6}, {19, 14}}));
}

TEST(PictureBuilder, ArrowHeadSitsOnTheTip) {
    const TPicture p = PictureBuilder(20, 20).Arrow({0, 10}, {12, 10}, 4);
    ASSERT_EQ(p.Items.size(), 2u);
    EXPECT_EQ(p.Items[0].Points, (std::vector<TPoint>{{0, 10}, {12, 10}}));
    // Four long, two to each side of the shaft.
    EXPECT_EQ(p.Items[1].Kind, TPrimitiveKind::Polygon);
    EXPECT_EQ(p.Items[1].Points, (std::vector<TPoint>{{12, 10}, {8, 12}, {8, 8}}));
    EXPECT_TRUE(p.Items[1].Brush.Filled);
}

// A horizontal coil of two turns of pitch 8 bulging upwards from y = 20:
// humps of radius 4 reach y = 16 at x = 14 and x = 22 and never go below.
TEST(PictureBuilder, CoilHumpsBulgeToTheirSide) {
    const TPicture up = PictureBuilder(40, 40).Coil({10, 20}, 2, 8, true, -1);
    ASSERT_EQ(up.Items.size(), 2u);
    const DrawnBox b = BoundsOf(up.Items);
    EXPECT_NEAR(b.left, 10, 1e-9);
    EXPECT_NEAR(b.right, 26, 1e-9);
    EXPECT_NEAR(b.top, 16, 1e-9);
    EXPECT_NEAR(b.bottom, 20, 1e-9);
    EXPECT_NEAR(DistanceToDrawing(up.Items, 14, 16), 0, 1e-9);
    EXPECT_NEAR(DistanceToDrawing(up.Items, 22, 16), 0, 1e-9);

    // Downwards to the right: x from 30 to 34, y from 5 to 5 + 3 * 6.
    const TPicture right = PictureBuilder(40, 40).Coil({30, 5}, 3, 6, false, +1);
    const DrawnBox r = BoundsOf(right.Items);
    EXPECT_NEAR(r.left, 30, 1e-9);
    EXPECT_NEAR(r.right, 33, 1e-9);
    EXPECT_NEAR(r.top, 5, 1e-9);
    EXPECT_NEAR(r.bottom, 23, 1e-9);
}

// One period across (0..20, 0..10): starts and ends on the middle line,
// peaks at a quarter period, dips at three quarters.
TEST(PictureBuilder, SineWaveSpansItsBox) {
    const TPicture p = PictureBuilder(21, 11).SineWave({0, 0}, {20, 10});
    ASSERT_EQ(p.Items.size(), 1u);
    const auto& pts = p.Items[0].Points;
    ASSERT_GE(pts.size(), 9u);
    EXPECT_EQ(pts.front(), (TPoint{0, 5}));
    EXPECT_EQ(pts.back(), (TPoint{20, 5}));
    EXPECT_NEAR(DistanceToDrawing(p.Items, 5, 0), 0, 0.5);
    EXPECT_NEAR(DistanceToDrawing(p.Items, 15, 10), 0, 0.5);
    const DrawnBox b = BoundsOf(p.Items);
    EXPECT_EQ(b.top, 0);
    EXPECT_EQ(b.bottom, 10);
}

} // namespace
