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

// A horizontal segment with its axis at height y from x1 to x2.
TElectricLine* Horizontal(Schematic& sheet, int y, int x1, int x2) {
    return new TElectricLine(sheet, x1, y - 2, false, x2 - x1);
}

TElectricLine* Vertical(Schematic& sheet, int x, int y1, int y2) {
    return new TElectricLine(sheet, x - 2, y1, true, y2 - y1);
}

TEST(LineAttach, WithinThreePixelsOfAFreeEndTakesThatEnd) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 50, 0, 100);
    TElectricLine* a = Vertical(sheet, 2, 50, 80);
    TElectricLine* b = Vertical(sheet, 97, 50, 80);
    // (2, 50): squared distance 4 to the start, nearer than the end.
    EXPECT_EQ(h->Attach(a, 2, 50), h);
    EXPECT_EQ(h->FStartLink.Line, a);
    // (97, 50): squared distance 9 to the end, still an end.
    EXPECT_EQ(h->Attach(b, 97, 50), h);
    EXPECT_EQ(h->FEndLink.Line, b);
    EXPECT_TRUE(h->FTaps.empty());
    // Joined segments share one node: the attaching segment's node survives.
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    EXPECT_EQ(a->FNode, h->FNode);
    EXPECT_EQ(b->FNode, h->FNode);
}

TEST(LineAttach, FartherThanThreePixelsASegmentBecomesATap) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 50, 0, 100);
    TElectricLine* t = Vertical(sheet, 4, 50, 80);
    // (4, 50): squared distance 16 to the start.
    EXPECT_EQ(h->Attach(t, 4, 50), h);
    EXPECT_TRUE(h->FStartLink.IsFree());
    ASSERT_EQ(h->FTaps.size(), 1u);
    EXPECT_EQ(h->FTaps[0].Control, t);
    EXPECT_EQ(h->FTaps[0].x, 4);
    EXPECT_EQ(h->FTaps[0].y, 50);
    // Asking again records nothing new.
    EXPECT_EQ(h->Attach(t, 60, 50), h);
    EXPECT_EQ(h->FTaps.size(), 1u);
}

TEST(LineAttach, BothEndsTakenGivesATapEvenAtAnEnd) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 50, 0, 100);
    TElectricLine* a = Vertical(sheet, 0, 50, 80);
    TElectricLine* b = Vertical(sheet, 100, 50, 80);
    TElectricLine* c = Vertical(sheet, 100, 20, 50);
    h->Attach(a, 0, 50);
    h->Attach(b, 100, 50);
    EXPECT_EQ(h->Attach(c, 100, 50), h);
    ASSERT_EQ(h->FTaps.size(), 1u);
    EXPECT_EQ(h->FTaps[0].Control, c);
}

TEST(LineAttach, TiesGoToTheEndAndATakenNearEndPassesToAnOtherNearEnd) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 50, 0, 4);
    TElectricLine* a = Vertical(sheet, 2, 50, 80);
    TElectricLine* b = Vertical(sheet, 2, 20, 50);
    // (2, 50) is 2 pixels from both ends.
    h->Attach(a, 2, 50);
    EXPECT_EQ(h->FEndLink.Line, a);
    // The end is taken; the start is within 3 pixels and free.
    h->Attach(b, 2, 50);
    EXPECT_EQ(h->FStartLink.Line, b);
}

TEST(LineAttach, ATakenNearEndWithTheOtherFarAwayIsRefused) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 50, 0, 100);
    TElectricLine* a = Vertical(sheet, 0, 50, 80);
    TElectricLine* b = Vertical(sheet, 1, 20, 50);
    h->Attach(a, 0, 50);
    a->Attach(h, 0, 50);
    const int nodes = sheet.Nodes.Count();
    EXPECT_EQ(h->Attach(b, 1, 50), nullptr);
    EXPECT_FALSE(h->Holds(b));
    EXPECT_NE(b->FNode, h->FNode);
    EXPECT_EQ(sheet.Nodes.Count(), nodes);
    // Join asks both sides first and records neither.
    EXPECT_FALSE(TElectricLine::Join(b, h, {1, 50}));
    EXPECT_FALSE(b->Holds(h));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineAttach, PinsAttachOnlyAtEnds) {
    Schematic sheet;
    TBaseElement* e = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TConnector* pin = e->FConnectors[0];
    const TPoint c = pin->GetLink();  // (104, 108)
    TElectricLine* through = Horizontal(sheet, c.y, c.x - 50, c.x + 50);
    EXPECT_EQ(pin->ConnectTo(through), nullptr);
    EXPECT_FALSE(pin->IsConnected());
    EXPECT_TRUE(through->FTaps.empty());

    TElectricLine* ending = Horizontal(sheet, c.y, c.x, c.x + 80);
    EXPECT_EQ(pin->ConnectTo(ending), ending);
    EXPECT_EQ(ending->FStartLink.Pin, pin);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineAttach, APinTakenAtAnEndNearByDrawsThatEndOntoItsCentre) {
    Schematic sheet;
    TBaseElement* e = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TConnector* pin = e->FConnectors[1];
    const TPoint c = pin->GetLink();  // (164, 108)
    TElectricLine* s = Horizontal(sheet, c.y + 1, c.x - 2, c.x + 60);
    EXPECT_EQ(pin->ConnectTo(s), s);
    EXPECT_EQ(s->StartPoint(), c);
    EXPECT_EQ(s->EndPoint(), (TPoint{c.x + 60, c.y}));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineAttach, APointOutsideIsPassedAlongTheJoinedSegments) {
    Schematic sheet;
    const auto route = TElectricLine::CreateRoute(sheet, {10, 20}, {111, 50});
    TElectricLine* other = Vertical(sheet, 111, 50, 90);
    // (111, 50) lies only in the last piece: the first piece hands it on.
    EXPECT_EQ(route[0]->Attach(other, 111, 50), route[2]);
    EXPECT_EQ(route[2]->FEndLink.Line, other);
    EXPECT_EQ(other->FNode, route[0]->FNode);
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    // Nothing takes a point beyond the whole wire.
    TElectricLine* far = Vertical(sheet, 500, 500, 600);
    EXPECT_EQ(route[0]->Attach(far, 500, 500), nullptr);
}

TEST(LineAttach, TheSearchEndsOnAClosedLoop) {
    Schematic sheet;
    TElectricLine* top = Horizontal(sheet, 0, 0, 100);
    TElectricLine* right = Vertical(sheet, 100, 0, 100);
    TElectricLine* bottom = Horizontal(sheet, 100, 0, 100);
    TElectricLine* left = Vertical(sheet, 0, 0, 100);
    ASSERT_TRUE(TElectricLine::Join(top, right, {100, 0}));
    ASSERT_TRUE(TElectricLine::Join(right, bottom, {100, 100}));
    ASSERT_TRUE(TElectricLine::Join(bottom, left, {0, 100}));
    ASSERT_TRUE(TElectricLine::Join(left, top, {0, 0}));
    TElectricLine* stray = Vertical(sheet, 400, 400, 500);
    EXPECT_EQ(top->Attach(stray, 400, 400), nullptr);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(LineAttach, MergingKeepsTheSurvivorAndTakesANonEmptyName) {
    Schematic sheet;
    TElectricLine* a = Horizontal(sheet, 0, 0, 100);
    TElectricLine* b = Vertical(sheet, 50, 0, 40);
    TElectricLine* c = Vertical(sheet, 80, 0, 40);
    TENode* na = a->FNode;
    b->FNode->Name = "A1";
    a->Attach(b, 50, 0);
    EXPECT_EQ(b->FNode, na);
    EXPECT_EQ(na->Name, "A1");
    c->FNode->Name = "";
    a->Attach(c, 80, 0);
    EXPECT_EQ(na->Name, "A1");
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    EXPECT_EQ(sheet.Nodes[0], na);
}

TEST(LineAttach, FileJointsLinkBothSides) {
    Schematic sheet;
    TElectricLine* h = Horizontal(sheet, 50, 0, 100);
    TElectricLine* v = Vertical(sheet, 40, 50, 90);
    // "segment 1 starts on segment 0": a tap of segment 0 at (40, 50).
    EXPECT_TRUE(v->LinkStartTo(h));
    EXPECT_EQ(v->FStartLink.Line, h);
    ASSERT_EQ(h->FTaps.size(), 1u);
    EXPECT_EQ(h->FTaps[0].Control, v);
    EXPECT_EQ(v->FNode, h->FNode);
    EXPECT_EQ(WiringFault(sheet), "");
}

} // namespace
