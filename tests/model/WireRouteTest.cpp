#include <gtest/gtest.h>

#include "model/Schematic.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/WiringInvariants.h"

namespace {

struct Box {
    int left, top, width, height;
    bool vertical;
    friend bool operator==(const Box&, const Box&) = default;
};

Box BoxOf(const TElectricLine* s) { return {s->Left, s->Top, s->Width, s->Height, s->FVertical}; }

TEST(CreateRoute, PointsAtOneHeightGiveOneHorizontalSegment) {
    for (auto [a, b] : {std::pair{TPoint{10, 20}, TPoint{110, 20}}, {TPoint{110, 20}, TPoint{10, 20}}}) {
        Schematic sheet;
        const auto route = TElectricLine::CreateRoute(sheet, a, b);
        ASSERT_EQ(route.size(), 1u);
        // Axis at y = 20 from x = 10 to 110: box top two pixels above, five high.
        EXPECT_EQ(BoxOf(route[0]), (Box{10, 18, 100, 5, false}));
        EXPECT_EQ(route[0]->StartPoint(), (TPoint{10, 20}));
        EXPECT_EQ(route[0]->EndPoint(), (TPoint{110, 20}));
        EXPECT_TRUE(route[0]->FStartLink.IsFree());
        EXPECT_TRUE(route[0]->FEndLink.IsFree());
        EXPECT_EQ(sheet.Lines.Count(), 1);
        EXPECT_EQ(sheet.Nodes.Count(), 1);
        EXPECT_EQ(WiringFault(sheet), "");
    }
}

TEST(CreateRoute, WiderThanHighGivesThreeSegmentsJoinedAtTheMiddleX) {
    Schematic sheet;
    // Left point first: x1 = 10, x2 = 111, the jog at (10 + 111) / 2 = 60.
    const auto route = TElectricLine::CreateRoute(sheet, {111, 50}, {10, 20});
    ASSERT_EQ(route.size(), 3u);
    EXPECT_EQ(BoxOf(route[0]), (Box{10, 18, 50, 5, false}));
    EXPECT_EQ(BoxOf(route[1]), (Box{58, 20, 5, 30, true}));
    EXPECT_EQ(BoxOf(route[2]), (Box{60, 48, 51, 5, false}));
    EXPECT_EQ(route[0]->FEndLink.Line, route[1]);
    EXPECT_EQ(route[1]->FStartLink.Line, route[0]);
    EXPECT_EQ(route[1]->FEndLink.Line, route[2]);
    EXPECT_EQ(route[2]->FStartLink.Line, route[1]);
    EXPECT_TRUE(route[0]->FStartLink.IsFree());
    EXPECT_TRUE(route[2]->FEndLink.IsFree());
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    EXPECT_EQ(route[0]->FNode, route[2]->FNode);
    EXPECT_EQ(route[0]->FNode->Segments.size(), 3u);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(CreateRoute, RisingRouteJoinsTheJogUpsideDown) {
    Schematic sheet;
    const auto route = TElectricLine::CreateRoute(sheet, {10, 50}, {111, 20});
    ASSERT_EQ(route.size(), 3u);
    EXPECT_EQ(BoxOf(route[0]), (Box{10, 48, 50, 5, false}));
    EXPECT_EQ(BoxOf(route[1]), (Box{58, 20, 5, 30, true}));
    EXPECT_EQ(BoxOf(route[2]), (Box{60, 18, 51, 5, false}));
    // The vertical piece runs upwards from the joint with the first piece.
    EXPECT_EQ(route[1]->FEndLink.Line, route[0]);
    EXPECT_EQ(route[1]->FStartLink.Line, route[2]);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(CreateRoute, HigherThanWideOrSquareStartsVertical) {
    Schematic sheet;
    const auto tall = TElectricLine::CreateRoute(sheet, {50, 90}, {30, 10});
    ASSERT_EQ(tall.size(), 3u);
    // Upper point first: the jog at y = (10 + 90) / 2 = 50.
    EXPECT_EQ(BoxOf(tall[0]), (Box{28, 10, 5, 40, true}));
    EXPECT_EQ(BoxOf(tall[1]), (Box{30, 48, 20, 5, false}));
    EXPECT_EQ(BoxOf(tall[2]), (Box{48, 50, 5, 40, true}));

    const auto square = TElectricLine::CreateRoute(sheet, {200, 200}, {240, 240});
    ASSERT_EQ(square.size(), 3u);
    EXPECT_TRUE(square[0]->FVertical);
    EXPECT_EQ(square[1]->StartPoint(), (TPoint{200, 220}));

    const auto straight = TElectricLine::CreateRoute(sheet, {300, 40}, {300, 10});
    ASSERT_EQ(straight.size(), 1u);
    EXPECT_EQ(BoxOf(straight[0]), (Box{298, 10, 5, 30, true}));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(CreateRoute, OnePixelSteepRouteKeepsAZeroLengthFirstPiece) {
    Schematic sheet;
    // |dx| = |dy| = 1: the jog sits at y = (10 + 11) / 2 = 10, on the start.
    const auto route = TElectricLine::CreateRoute(sheet, {10, 10}, {11, 11});
    ASSERT_EQ(route.size(), 3u);
    EXPECT_EQ(route[0]->Height, 0);
    EXPECT_EQ(route[0]->FEndLink.Line, route[1]);
    EXPECT_TRUE(route[0]->FStartLink.IsFree());
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(CreateRoute, FileSegmentTakesItsBoxAsGiven) {
    Schematic sheet;
    // The line 120,62,0,48: a horizontal axis at y = 64 from x = 120 to 168.
    auto* s = new TElectricLine(sheet, 120, 62, false, 48);
    EXPECT_EQ(s->StartPoint(), (TPoint{120, 64}));
    EXPECT_EQ(s->EndPoint(), (TPoint{168, 64}));
    EXPECT_EQ(s->Height, 5);
    EXPECT_EQ(sheet.Nodes.Count(), 1);
}

} // namespace
