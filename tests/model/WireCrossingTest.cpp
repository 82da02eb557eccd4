// Moves that bring a segment's joint into the middle of another segment
// which itself sits on the first one's middle: both would hold the other as
// a tap, which no segment end records, so the file would drop the joint.
#include <gtest/gtest.h>

#include "model/LineJoints.h"
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

// Whether a and b hold each other only as taps, so that neither end names the other.
bool CrossedTaps(const TElectricLine* a, const TElectricLine* b) {
    auto tapOnly = [](const TElectricLine* holder, const TElectricLine* other) {
        if (holder->FStartLink.Line == other || holder->FEndLink.Line == other) return false;
        for (const TCLine& t : holder->FTaps)
            if (t.Control == other) return true;
        return false;
    };
    return tapOnly(a, b) && tapOnly(b, a);
}

bool AnyCrossedTaps(const Schematic& sheet) {
    for (const TElectricLine* a : sheet.Lines)
        for (const TCLine& t : a->FTaps)
            if (CrossedTaps(a, t.Control)) return true;
    return false;
}

// V runs down from (100, 50) and ends on the middle of B (y = 150, x 50 to
// 200); C starts on V's middle at (100, 100) and runs right to (200, 100).
struct Tee {
    Schematic sheet;
    TElectricLine* v = Vertical(sheet, 100, 50, 150);
    TElectricLine* b = Horizontal(sheet, 150, 50, 200);
    TElectricLine* c = Horizontal(sheet, 100, 100, 200);
    Tee() {
        TElectricLine::Join(v, b, {100, 150});
        TElectricLine::Join(v, c, {100, 100});
    }
};

TEST(WireCrossing, ATapDraggedPastAnEndLyingOnAnotherSegmentCutsTheSegmentThere) {
    Tee s;
    ASSERT_EQ(s.v->FEndLink.Line, s.b);
    ASSERT_EQ(s.c->FStartLink.Line, s.v);
    ASSERT_EQ(RoundTripFault(s.sheet), "");
    // C goes 60 down, past B: V stretches to y = 160 and now crosses B.
    ASSERT_TRUE(s.c->TryShift(0, 60));
    EXPECT_EQ(s.c->StartPoint(), (TPoint{100, 160}));
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_FALSE(AnyCrossedTaps(s.sheet));
    ASSERT_EQ(s.sheet.Lines.Count(), 4);
    // V now ends on B as before; the piece below continues from V's end to C.
    TElectricLine* below = s.sheet.Lines[3];
    EXPECT_EQ(s.v->StartPoint(), (TPoint{100, 50}));
    EXPECT_EQ(s.v->EndPoint(), (TPoint{100, 150}));
    EXPECT_EQ(s.v->FEndLink.Line, s.b);
    EXPECT_EQ(below->StartPoint(), (TPoint{100, 150}));
    EXPECT_EQ(below->EndPoint(), (TPoint{100, 160}));
    EXPECT_EQ(below->FStartLink.Line, s.v);
    EXPECT_EQ(below->FEndLink.Line, s.c);
    EXPECT_EQ(s.c->FStartLink.Line, below);
    EXPECT_EQ(WiringFault(s.sheet), "");
    EXPECT_EQ(RoundTripFault(s.sheet), "");

    // Back up again: the piece would turn round and run from C back down
    // over V to V's end; lying on V, it is dropped and C sits on V again.
    ASSERT_TRUE(s.c->TryShift(0, -60));
    ASSERT_EQ(s.sheet.Lines.Count(), 3);
    EXPECT_EQ(s.v->StartPoint(), (TPoint{100, 50}));
    EXPECT_EQ(s.v->EndPoint(), (TPoint{100, 150}));
    EXPECT_EQ(s.v->FEndLink.Line, s.b);
    EXPECT_EQ(s.c->FStartLink.Line, s.v);
    ASSERT_NE(s.v->FindTap(s.c), nullptr);
    EXPECT_EQ(s.v->FindTap(s.c)->y, 100);
    EXPECT_EQ(WiringFault(s.sheet), "");
    EXPECT_EQ(RoundTripFault(s.sheet), "");
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
}

TEST(WireCrossing, AnElementMovedSoThatItsWireCrossesAnotherKeepsEveryJointInTheFile) {
    Tee s;
    // A pin at C's right end, at (200, 100).
    TBaseElement* e = PlaceElement(s.sheet, "TTestTwoPin", 196, 92);
    TConnector* pin = e->FConnectors[0];
    ASSERT_EQ(pin->GetLink(), (TPoint{200, 100}));
    ASSERT_EQ(pin->ConnectTo(s.c), s.c);
    const std::vector<int> pins = PinNodes(s.sheet);
    e->MoveBy(0, 80);
    EXPECT_EQ(s.c->StartPoint(), (TPoint{100, 180}));
    EXPECT_EQ(pin->FLink, s.c);
    EXPECT_FALSE(AnyCrossedTaps(s.sheet));
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_EQ(PinNodes(s.sheet), pins);
    EXPECT_EQ(WiringFault(s.sheet), "");
    EXPECT_EQ(RoundTripFault(s.sheet), "");

    // Mirroring moves the pin to the element's other side, 56 to the right:
    // C only stretches, and the file still holds every joint.
    e->SetXFlip(true);
    EXPECT_EQ(pin->FLink->PointOf(pin), pin->GetLink());
    EXPECT_EQ(WiringFault(s.sheet), "");
    EXPECT_EQ(RoundTripFault(s.sheet), "");
    // Back above B and down again across it, then turned a quarter.
    e->MoveBy(0, -80);
    e->MoveBy(0, 80);
    EXPECT_FALSE(AnyCrossedTaps(s.sheet));
    EXPECT_EQ(WiringFault(s.sheet), "");
    EXPECT_EQ(RoundTripFault(s.sheet), "");
    e->SetAngle(90);
    EXPECT_EQ(pin->FLink->PointOf(pin), pin->GetLink());
    EXPECT_FALSE(AnyCrossedTaps(s.sheet));
    EXPECT_EQ(WiringFault(s.sheet), "");
    EXPECT_EQ(RoundTripFault(s.sheet), "");
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_EQ(PinNodes(s.sheet), pins);
}

TEST(WireCrossing, JoiningTwoSegmentsWhereTheirMiddlesCrossCutsOneOfThem) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 100, 0, 200);
    TElectricLine* v = Vertical(sheet, 80, 20, 180);
    ASSERT_TRUE(TElectricLine::Join(h, v, {80, 100}));
    EXPECT_FALSE(AnyCrossedTaps(sheet));
    EXPECT_EQ(sheet.Lines.Count(), 3);
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    // The drawing is unchanged: the pieces of the cut segment cover it.
    int covered = 0;
    for (const TElectricLine* s : sheet.Lines)
        covered += s->FVertical ? s->Height : s->Width;
    EXPECT_EQ(covered, 200 + 160);
    EXPECT_EQ(WiringFault(sheet), "");
    EXPECT_EQ(RoundTripFault(sheet), "");
}

// Makes a and b hold each other as taps at p, the state a move can leave.
void CrossTaps(Schematic& sheet, TElectricLine* a, TElectricLine* b, TPoint p) {
    a->FTaps.push_back({b, p.x, p.y});
    b->FTaps.push_back({a, p.x, p.y});
    MergeNodes(sheet, a->FNode, b->FNode);
}

TEST(WireCrossing, CrossedTapsAtAFreeEndBecomeThatEndsJoint) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 100, 0, 200);
    TElectricLine* v = Vertical(sheet, 200, 50, 150);
    CrossTaps(sheet, h, v, {200, 100});
    ASSERT_EQ(WiringFault(sheet), "");
    ASSERT_NE(RoundTripFault(sheet), "");
    EXPECT_EQ(SettleCrossings(h->FNode), 1);
    EXPECT_EQ(sheet.Lines.Count(), 2);
    EXPECT_EQ(h->FEndLink.Line, v);
    EXPECT_TRUE(h->FTaps.empty());
    EXPECT_EQ(WiringFault(sheet), "");
    EXPECT_EQ(RoundTripFault(sheet), "");
}

// H ends at (100, 100) on H2, V starts there on V2, and both far ends are
// taken too: segments h (index 0) and v (index 3) of six.
void TakenEnds(Schematic& sheet, TElectricLine*& h, TElectricLine*& v) {
    h = Horizontal(sheet, 100, 0, 100);
    TElectricLine* h2 = Horizontal(sheet, 100, 100, 200);
    TElectricLine* hFar = Vertical(sheet, 0, 100, 150);
    v = Vertical(sheet, 100, 100, 200);
    TElectricLine* v2 = Vertical(sheet, 100, 0, 100);
    TElectricLine* vFar = Horizontal(sheet, 200, 100, 150);
    ASSERT_TRUE(TElectricLine::Join(h, h2, {100, 100}));
    ASSERT_TRUE(TElectricLine::Join(h, hFar, {0, 100}));
    ASSERT_TRUE(TElectricLine::Join(v2, v, {100, 100}));
    ASSERT_TRUE(TElectricLine::Join(v, vFar, {100, 200}));
}

TEST(WireCrossing, CrossedTapsAtEndsOthersHoldAreBridgedByASegmentOfNoLength) {
    Schematic sheet;
    TElectricLine *h = nullptr, *v = nullptr;
    TakenEnds(sheet, h, v);
    ASSERT_FALSE(HasFailure());
    CrossTaps(sheet, h, v, {100, 100});
    ASSERT_EQ(WiringFault(sheet), "");
    ASSERT_NE(RoundTripFault(sheet), "");
    EXPECT_EQ(SettleCrossings(h->FNode), 1);
    ASSERT_EQ(sheet.Lines.Count(), 7);
    const TElectricLine* bridge = sheet.Lines[6];
    EXPECT_EQ(bridge->StartPoint(), (TPoint{100, 100}));
    EXPECT_EQ(bridge->EndPoint(), (TPoint{100, 100}));
    EXPECT_EQ(bridge->FStartLink.Line, h);
    EXPECT_EQ(bridge->FEndLink.Line, v);
    EXPECT_FALSE(AnyCrossedTaps(sheet));
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(sheet), "");
    EXPECT_EQ(RoundTripFault(sheet), "");
}

TEST(WireCrossing, AJointBetweenEndsThatOtherSegmentsHoldIsRefused) {
    Schematic sheet;
    // Each would hold the other only as a tap at its own end.
    TElectricLine *h = nullptr, *v = nullptr;
    TakenEnds(sheet, h, v);
    ASSERT_FALSE(HasFailure());
    ASSERT_EQ(sheet.Nodes.Count(), 2);
    EXPECT_FALSE(TElectricLine::Join(h, v, {100, 100}));
    EXPECT_FALSE(h->Holds(v));
    EXPECT_FALSE(v->Holds(h));
    EXPECT_EQ(sheet.Nodes.Count(), 2);
    EXPECT_EQ(WiringFault(sheet), "");
    EXPECT_EQ(RoundTripFault(sheet), "");
    // Where one of them is crossed in its middle the joint is made.
    TElectricLine* across = Horizontal(sheet, 150, 50, 150);
    EXPECT_TRUE(TElectricLine::Join(v, across, {100, 150}));
    EXPECT_EQ(sheet.Nodes.Count(), 2);
    EXPECT_FALSE(AnyCrossedTaps(sheet));
    EXPECT_EQ(WiringFault(sheet), "");
    EXPECT_EQ(RoundTripFault(sheet), "");
}

} // namespace
