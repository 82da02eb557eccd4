#include <gtest/gtest.h>

#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/TestElements.h"
#include "support/BoundModel.h"
#include "support/WireDrawing.h"
#include "support/WiringInvariants.h"

namespace {

// Two elements wired from A's right pin to B's left pin by a three-piece route.
struct TwoElements {
    Schematic sheet;
    BoundModel bound{sheet};
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TBaseElement* b = PlaceElement(sheet, "TTestTwoPin", 400, 200);
    TConnector* aOut = a->FConnectors[1];  // centre (164, 108)
    TConnector* bIn = b->FConnectors[0];   // centre (404, 208)
    TwoElements() { DragWire(aOut, bIn->GetLink()); }
};

TEST(WireNodes, APinWithoutAWireHasNoNodeAndNoPotential) {
    Schematic sheet;
    BoundModel bound(sheet);
    TBaseElement* e = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TConnector* pin = e->FConnectors[0];
    sheet.Run().Phi = {5.0, 6.0};
    pin->FSimNode = 1;
    EXPECT_EQ(pin->GetNodeID(), -1);
    EXPECT_EQ(pin->GetPhi(), 0.0);
}

TEST(WireNodes, AConnectedPinReadsItsPotentialByEquationIndex) {
    TwoElements s;
    ASSERT_TRUE(s.aOut->IsConnected());
    ASSERT_TRUE(s.bIn->IsConnected());
    EXPECT_EQ(s.aOut->GetNodeID(), 0);
    EXPECT_EQ(s.bIn->GetNodeID(), 0);
    s.sheet.Run().Phi = {1.5, -2.25};
    s.aOut->FSimNode = 1;
    EXPECT_EQ(s.aOut->GetPhi(), -2.25);
    s.aOut->FSimNode = 2;  // beyond the vector
    EXPECT_EQ(s.aOut->GetPhi(), 0.0);
}

TEST(WireNodes, DeletingTheMiddleOfAThreePieceWireSplitsItsNode) {
    TwoElements s;
    ASSERT_EQ(s.sheet.Lines.Count(), 3);
    ASSERT_EQ(s.sheet.Nodes.Count(), 1);
    TElectricLine* first = s.sheet.Lines[0];
    TElectricLine* middle = s.sheet.Lines[1];
    TElectricLine* last = s.sheet.Lines[2];
    delete middle;
    EXPECT_EQ(s.sheet.Lines.Count(), 2);
    EXPECT_EQ(s.sheet.Nodes.Count(), 2);
    EXPECT_NE(first->FNode, last->FNode);
    EXPECT_TRUE(first->FEndLink.IsFree());
    EXPECT_TRUE(last->FStartLink.IsFree());
    // The pins stay on their pieces, now in different nodes.
    EXPECT_EQ(s.aOut->FLink, first);
    EXPECT_EQ(s.bIn->FLink, last);
    EXPECT_NE(s.aOut->GetNodeID(), s.bIn->GetNodeID());
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(WireNodes, DeletingAnEndPieceDisconnectsItsPinAndKeepsTheRestInOneNode) {
    TwoElements s;
    delete s.sheet.Lines[2];
    EXPECT_FALSE(s.bIn->IsConnected());
    EXPECT_EQ(s.bIn->GetNodeID(), -1);
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_EQ(s.aOut->GetNodeID(), 0);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(WireNodes, DeletingATappingSegmentRemovesTheTap) {
    Schematic sheet;
    auto* h = new TElectricLine(sheet, 0, 98, false, 200);
    auto* t = new TElectricLine(sheet, 48, 100, true, 50);
    ASSERT_TRUE(TElectricLine::Join(h, t, {50, 100}));
    delete t;
    EXPECT_TRUE(h->FTaps.empty());
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(WireNodes, DeletingAJunctionSegmentGivesEachBranchItsOwnNode) {
    Schematic sheet;
    // A cross: three vertical stubs on one horizontal bar, one of them
    // joined to a further horizontal piece.
    auto* bar = new TElectricLine(sheet, 0, 98, false, 300);
    auto* a = new TElectricLine(sheet, 48, 100, true, 50);
    auto* b = new TElectricLine(sheet, 148, 100, true, 50);
    auto* c = new TElectricLine(sheet, 248, 100, true, 50);
    auto* tail = new TElectricLine(sheet, 250, 148, false, 60);
    ASSERT_TRUE(TElectricLine::Join(bar, a, {50, 100}));
    ASSERT_TRUE(TElectricLine::Join(bar, b, {150, 100}));
    ASSERT_TRUE(TElectricLine::Join(bar, c, {250, 100}));
    ASSERT_TRUE(TElectricLine::Join(c, tail, {250, 150}));
    ASSERT_EQ(sheet.Nodes.Count(), 1);
    delete bar;
    EXPECT_EQ(sheet.Nodes.Count(), 3);
    EXPECT_EQ(c->FNode, tail->FNode);
    EXPECT_NE(a->FNode, b->FNode);
    EXPECT_NE(a->FNode, c->FNode);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(WireNodes, NumbersArePositionsInNodesAndShiftAsNodesMerge) {
    Schematic sheet;
    auto* s0 = new TElectricLine(sheet, 0, 0, false, 50);
    auto* s1 = new TElectricLine(sheet, 0, 100, false, 50);
    auto* s2 = new TElectricLine(sheet, 0, 200, false, 50);
    EXPECT_EQ(sheet.Nodes.IndexOf(s2->FNode), 2);
    auto* joint = new TElectricLine(sheet, 48, 2, true, 100);  // x = 50 from y = 2 to 102
    ASSERT_TRUE(TElectricLine::Join(joint, s0, {50, 2}));
    ASSERT_TRUE(TElectricLine::Join(joint, s1, {50, 102}));
    // s0 and s1 went into the joint's node, the last one created.
    EXPECT_EQ(sheet.Nodes.Count(), 2);
    EXPECT_EQ(sheet.Nodes.IndexOf(s2->FNode), 0);
    EXPECT_EQ(sheet.Nodes.IndexOf(s0->FNode), 1);
    EXPECT_EQ(s1->FNode, s0->FNode);
}

TEST(WireNodes, TheHintGivesTheNodeAndOnceComputedItsPotential) {
    TwoElements s;
    TElectricLine* line = s.sheet.Lines[1];
    EXPECT_EQ(line->HintText(), "Узел: 0");
    s.sheet.Run().Phi = {0.0, 12.5};
    line->FNode->SimIndex = 1;
    EXPECT_EQ(line->HintText(), "Узел: 0 Потенциал: 12.5");
    line->FNode->SimIndex = 2;
    EXPECT_EQ(line->HintText(), "Узел: 0");
}

TEST(WireNodes, FreeingAnElementDisconnectsItsPinsAndKeepsTheWire) {
    TwoElements s;
    s.sheet.FreeElement(s.b);
    EXPECT_EQ(s.sheet.Lines.Count(), 3);
    EXPECT_TRUE(s.sheet.Lines[2]->FEndLink.IsFree());
    EXPECT_TRUE(s.aOut->IsConnected());
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(WireNodes, ClearingTheSchematicFreesEveryNode) {
    TwoElements s;
    s.sheet.Clear();
    EXPECT_TRUE(s.sheet.Lines.Empty());
    EXPECT_TRUE(s.sheet.Nodes.Empty());
    EXPECT_TRUE(s.sheet.ConnectorList.Empty());
}

} // namespace
