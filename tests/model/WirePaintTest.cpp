#include <gtest/gtest.h>

#include "model/Schematic.h"
#include "model/TElectricLine.h"

namespace {

std::vector<TPrimitive> OfKind(const std::vector<TPrimitive>& all, TPrimitiveKind kind) {
    std::vector<TPrimitive> out;
    for (const TPrimitive& p : all)
        if (p.Kind == kind) out.push_back(p);
    return out;
}

TEST(WirePaint, FreeEndsArePulledBackAndCrossedInBlue) {
    Schematic sheet;
    auto* h = new TElectricLine(sheet, 10, 18, false, 100);  // y = 20, x 10..110
    const auto lines = OfKind(h->Paint(), TPrimitiveKind::Line);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{12, 20}, {107, 20}}));
    EXPECT_EQ(lines[0].Pen.Color, clBlack);
    EXPECT_EQ(lines[1].Points, (std::vector<TPoint>{{8, 18}, {13, 23}}));
    EXPECT_EQ(lines[2].Points, (std::vector<TPoint>{{12, 18}, {7, 23}}));
    EXPECT_EQ(lines[3].Points, (std::vector<TPoint>{{108, 18}, {113, 23}}));
    EXPECT_EQ(lines[4].Points, (std::vector<TPoint>{{112, 18}, {107, 23}}));
    for (int i = 1; i < 5; ++i) EXPECT_EQ(lines[std::size_t(i)].Pen.Color, clBlue);
}

TEST(WirePaint, JoinedEndsReachTheirPointsAndTapsGetADot) {
    Schematic sheet;
    auto* h = new TElectricLine(sheet, 0, 98, false, 200);
    auto* v1 = new TElectricLine(sheet, -2, 100, true, 50);
    auto* v2 = new TElectricLine(sheet, 198, 100, true, 50);
    auto* t = new TElectricLine(sheet, 78, 100, true, 50);
    ASSERT_TRUE(TElectricLine::Join(h, v1, {0, 100}));
    ASSERT_TRUE(TElectricLine::Join(h, v2, {200, 100}));
    ASSERT_TRUE(TElectricLine::Join(h, t, {80, 100}));
    h->Select();
    const auto all = h->Paint();
    const auto lines = OfKind(all, TPrimitiveKind::Line);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].Points, (std::vector<TPoint>{{0, 100}, {200, 100}}));
    EXPECT_EQ(lines[0].Pen.Color, clRed);
    EXPECT_EQ(lines[0].Pen.Width, 2);
    const auto dots = OfKind(all, TPrimitiveKind::Ellipse);
    ASSERT_EQ(dots.size(), 1u);
    EXPECT_EQ(dots[0].Points, (std::vector<TPoint>{{79, 99}, {83, 103}}));
    EXPECT_TRUE(dots[0].Brush.Filled);
    // The tapping segment is joined at its top and free at the bottom.
    const auto tLines = OfKind(t->Paint(), TPrimitiveKind::Line);
    ASSERT_EQ(tLines.size(), 3u);
    EXPECT_EQ(tLines[0].Points, (std::vector<TPoint>{{80, 100}, {80, 147}}));
}

} // namespace
