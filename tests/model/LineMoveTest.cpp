#include <gtest/gtest.h>

#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/TestElements.h"
#include "support/WireDrawing.h"
#include "support/WiringInvariants.h"

namespace {

TElectricLine* Horizontal(Schematic& sheet, int y, int x1, int x2) {
    return new TElectricLine(sheet, x1, y - 2, false, x2 - x1);
}

TElectricLine* Vertical(Schematic& sheet, int x, int y1, int y2) {
    return new TElectricLine(sheet, x - 2, y1, true, y2 - y1);
}

TEST(LineMoveEnd, AFreeStartMovedSidewaysCarriesTheSegmentAndStretchesTheJog) {
    Schematic sheet;
    const auto r = TElectricLine::CreateRoute(sheet, {10, 20}, {111, 50});
    // The first piece's start goes 10 left and 7 down: it runs from x = 0 to
    // 60 at y = 27, and the vertical jog now begins at y = 27.
    r[0]->MoveEnd({}, -10, 7);
    EXPECT_EQ(r[0]->StartPoint(), (TPoint{0, 27}));
    EXPECT_EQ(r[0]->EndPoint(), (TPoint{60, 27}));
    EXPECT_EQ(r[1]->StartPoint(), (TPoint{60, 27}));
    EXPECT_EQ(r[1]->EndPoint(), (TPoint{60, 50}));
    EXPECT_EQ(r[2]->StartPoint(), (TPoint{60, 50}));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineMoveEnd, AnEndPulledPastTheStartTurnsTheSegmentAround) {
    Schematic sheet;
    const auto r = TElectricLine::CreateRoute(sheet, {10, 20}, {111, 50});
    // The last piece runs from 60 to 111; its free end goes to x = 40.
    r[2]->MoveEnd({}, -71, 0);
    EXPECT_EQ(r[2]->StartPoint(), (TPoint{40, 50}));
    EXPECT_EQ(r[2]->EndPoint(), (TPoint{60, 50}));
    EXPECT_TRUE(r[2]->FStartLink.IsFree());
    EXPECT_EQ(r[2]->FEndLink.Line, r[1]);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineShift, TheMiddleOfARouteMovesAcrossAndItsNeighboursStretch) {
    Schematic sheet;
    const auto r = TElectricLine::CreateRoute(sheet, {10, 20}, {111, 50});
    r[1]->Shift(15, 99);  // vertical: only dx counts
    EXPECT_EQ(r[1]->StartPoint(), (TPoint{75, 20}));
    EXPECT_EQ(r[1]->EndPoint(), (TPoint{75, 50}));
    EXPECT_EQ(r[0]->EndPoint(), (TPoint{75, 20}));
    EXPECT_EQ(r[2]->StartPoint(), (TPoint{75, 50}));
    EXPECT_EQ(r[2]->EndPoint(), (TPoint{111, 50}));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineShift, TapsOnAShiftedSegmentFollowIt) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 100, 0, 200);
    TElectricLine* down = Vertical(sheet, 80, 100, 150);
    ASSERT_TRUE(TElectricLine::Join(h, down, {80, 100}));
    h->Shift(7, -30);  // horizontal: only dy counts
    EXPECT_EQ(h->StartPoint(), (TPoint{0, 70}));
    ASSERT_EQ(h->FTaps.size(), 1u);
    EXPECT_EQ(h->FTaps[0].y, 70);
    EXPECT_EQ(down->StartPoint(), (TPoint{80, 70}));
    EXPECT_EQ(down->EndPoint(), (TPoint{80, 150}));
    EXPECT_EQ(WiringFault(sheet), "");
}

// H runs from x = 100 to 200 at y = 100 with V2 hanging from its end; T
// hangs from H's middle at x = 150.
struct TapScene {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 100, 100, 200);
    TElectricLine* v2 = Vertical(sheet, 200, 100, 150);
    TElectricLine* t = Vertical(sheet, 150, 100, 160);
    TapScene() {
        TElectricLine::Join(h, v2, {200, 100});
        TElectricLine::Join(h, t, {150, 100});
    }
};

TEST(LineNormalise, ATapDraggedPastTheEndBecomesTheEnd) {
    TapScene s;
    ASSERT_EQ(s.h->FEndLink.Line, s.v2);
    ASSERT_EQ(s.h->FTaps.size(), 1u);
    s.t->Shift(80, 0);
    EXPECT_EQ(s.t->StartPoint(), (TPoint{230, 100}));
    EXPECT_EQ(s.h->EndPoint(), (TPoint{230, 100}));
    EXPECT_EQ(s.h->FEndLink.Line, s.t);
    // The former end stays joined, now as a tap where the end was.
    ASSERT_EQ(s.h->FTaps.size(), 1u);
    EXPECT_EQ(s.h->FTaps[0].Control, s.v2);
    EXPECT_EQ(s.h->FTaps[0].x, 200);
    EXPECT_EQ(s.v2->FStartLink.Line, s.h);
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(LineNormalise, ATapDraggedBeforeAFreeStartBecomesTheStart) {
    TapScene s;
    s.t->Shift(-80, 0);
    EXPECT_EQ(s.h->StartPoint(), (TPoint{70, 100}));
    EXPECT_EQ(s.h->FStartLink.Line, s.t);
    EXPECT_TRUE(s.h->FTaps.empty());
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(LineNormalise, ATapPassingAPinnedEndIsRefused) {
    Schematic sheet;
    TBaseElement* e = PlaceElement(sheet, "TTestTwoPin", 300, 92);
    TConnector* pin = e->FConnectors[0];
    ASSERT_EQ(pin->GetLink(), (TPoint{304, 100}));
    TElectricLine* h = Horizontal(sheet, 100, 100, 304);
    ASSERT_EQ(pin->ConnectTo(h), h);
    TElectricLine* t = Vertical(sheet, 250, 100, 160);
    ASSERT_TRUE(TElectricLine::Join(h, t, {250, 100}));
    // A pin cannot become a tap, so the shift would leave T's end off H.
    EXPECT_FALSE(t->TryShift(80, 0));
    EXPECT_EQ(t->StartPoint(), (TPoint{250, 100}));
    EXPECT_EQ(h->EndPoint(), (TPoint{304, 100}));
    EXPECT_EQ(WiringFault(sheet), "");
    // Within the segment the tap slides freely.
    EXPECT_TRUE(t->TryShift(-30, 0));
    EXPECT_EQ(h->FTaps[0].x, 220);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineDrag, ASegmentWithAPinAtAnEndDoesNotShift) {
    Schematic sheet;
    TBaseElement* e = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TConnector* pin = e->FConnectors[1];
    DragWire(pin, {pin->GetXLink() + 80, pin->GetYLink()});
    TElectricLine* s = pin->FLink;
    ASSERT_NE(s, nullptr);
    const TRect before = s->BoundsRect();
    sheet.Modified = false;
    const TPoint grab{s->Left + 40, s->Top + 2};
    s->MouseDown(TMouseButton::Left, false, grab);
    s->MouseMove(grab + TPoint{0, 30});
    s->MouseUp(TMouseButton::Left, false, grab + TPoint{0, 30});
    EXPECT_EQ(s->BoundsRect(), before);
    EXPECT_FALSE(sheet.Modified);
}

TEST(LineDrag, AFreeSegmentFollowsTheMouseAcrossItsDirection) {
    Schematic sheet;
    const auto r = TElectricLine::CreateRoute(sheet, {10, 20}, {111, 50});
    TElectricLine* mid = r[1];
    mid->MouseDown(TMouseButton::Left, false, {60, 30});
    mid->MouseMove({70, 35});
    mid->MouseMove({65, 90});
    mid->MouseUp(TMouseButton::Left, false, {65, 90});
    // Vertical: the axis goes to x = 60 + 5, the y of the mouse is ignored.
    EXPECT_EQ(mid->StartPoint(), (TPoint{65, 20}));
    EXPECT_EQ(r[0]->EndPoint(), (TPoint{65, 20}));
    EXPECT_TRUE(mid->FMoved);
    EXPECT_TRUE(sheet.Modified);
    // A drag selects nothing.
    EXPECT_TRUE(sheet.SelectedLines.Empty());
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineDrag, AStraightRunEndingOnAPinDoesNotShift) {
    Schematic sheet;
    TBaseElement* e = PlaceElement(sheet, "TTestTwoPin", 300, 92);
    TConnector* pin = e->FConnectors[0];  // centre (304, 100)
    TElectricLine* far = Horizontal(sheet, 100, 100, 200);
    TElectricLine* near = Horizontal(sheet, 100, 200, 304);
    ASSERT_TRUE(TElectricLine::Join(far, near, {200, 100}));
    ASSERT_EQ(pin->ConnectTo(near), near);
    far->MouseDown(TMouseButton::Left, false, {150, 100});
    far->MouseMove({150, 120});
    far->MouseUp(TMouseButton::Left, false, {150, 120});
    EXPECT_EQ(far->StartPoint(), (TPoint{100, 100}));
    EXPECT_EQ(near->EndPoint(), (TPoint{304, 100}));
    EXPECT_EQ(WiringFault(sheet), "");
}

} // namespace
