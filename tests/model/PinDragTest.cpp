#include <gtest/gtest.h>

#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/TestElements.h"
#include "support/WireDrawing.h"
#include "support/WiringInvariants.h"

namespace {

// Element A at (100, 100): its pins' centres are (104, 108) and (164, 108).
struct Scene {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TConnector* aIn = a->FConnectors[0];
    TConnector* aOut = a->FConnectors[1];
};

TElectricLine* Vertical(Schematic& sheet, int x, int y1, int y2) {
    return new TElectricLine(sheet, x - 2, y1, true, y2 - y1);
}

TEST(PinDrag, ReleaseAtThePinsHeightGivesOneSegmentFromThePin) {
    Scene s;
    DragWire(s.aOut, {264, 108});
    ASSERT_EQ(s.sheet.Lines.Count(), 1);
    TElectricLine* w = s.sheet.Lines[0];
    EXPECT_EQ(s.aOut->FLink, w);
    EXPECT_EQ(w->FStartLink.Pin, s.aOut);
    EXPECT_EQ(w->StartPoint(), (TPoint{164, 108}));
    EXPECT_EQ(w->EndPoint(), (TPoint{264, 108}));
    EXPECT_TRUE(w->FEndLink.IsFree());
    EXPECT_TRUE(s.sheet.Modified);
    EXPECT_FALSE(s.aOut->FDragging);
}

TEST(PinDrag, AWideDragGivesThreeSegmentsJoinedAtTheMiddleX) {
    Scene s;
    DragWire(s.aOut, {264, 140});
    ASSERT_EQ(s.sheet.Lines.Count(), 3);
    EXPECT_EQ(s.sheet.Lines[1]->StartPoint(), (TPoint{214, 108}));
    EXPECT_EQ(s.sheet.Lines[1]->EndPoint(), (TPoint{214, 140}));
    EXPECT_EQ(s.sheet.Lines[2]->EndPoint(), (TPoint{264, 140}));
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(PinDrag, ADragToTheLeftHangsThePinOnTheRouteEnd) {
    Scene s;
    DragWire(s.aIn, {4, 150});
    ASSERT_EQ(s.sheet.Lines.Count(), 3);
    // Left point first: the route starts at the release point.
    EXPECT_EQ(s.sheet.Lines[0]->StartPoint(), (TPoint{4, 150}));
    EXPECT_TRUE(s.sheet.Lines[0]->FStartLink.IsFree());
    EXPECT_EQ(s.aIn->FLink, s.sheet.Lines[2]);
    EXPECT_EQ(s.sheet.Lines[2]->FEndLink.Pin, s.aIn);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(PinDrag, AClickOnAPinDrawsNothing) {
    Scene s;
    DragWire(s.aOut, s.aOut->GetLink());
    EXPECT_TRUE(s.sheet.Lines.Empty());
    EXPECT_FALSE(s.aOut->IsConnected());
}

TEST(PinDrag, TheRubberWireRunsFromTheLooseEndToThePin) {
    Scene s;
    s.aOut->MouseDown(TMouseButton::Left, false, {165, 109});
    EXPECT_TRUE(s.aOut->FDragging);
    s.aOut->MouseMove({264, 140});
    EXPECT_EQ(s.aOut->FDragPoint, (TPoint{264, 140}));
    const std::vector<TPoint> expected{{264, 140}, {214, 140}, {214, 108}, {164, 108}};
    EXPECT_EQ(s.aOut->RubberWire(), expected);
    s.aOut->MouseUp(TMouseButton::Left, false, {264, 140});
    EXPECT_TRUE(s.aOut->RubberWire().empty());
}

TEST(PinDragSnap, WithinFourteenPixelsOfAPerpendicularAxisTheEndJoinsIt) {
    Scene s;
    TElectricLine* v = Vertical(s.sheet, 300, 50, 200);
    DragWire(s.aOut, {286, 108});
    TElectricLine* w = s.aOut->FLink;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->EndPoint(), (TPoint{300, 108}));
    EXPECT_EQ(w->FEndLink.Line, v);
    ASSERT_EQ(v->FTaps.size(), 1u);
    EXPECT_EQ(v->FTaps[0].y, 108);
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(PinDragSnap, FifteenPixelsAwayTheEndStaysFree) {
    Scene s;
    Vertical(s.sheet, 300, 50, 200);
    DragWire(s.aOut, {285, 108});
    TElectricLine* w = s.aOut->FLink;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->EndPoint(), (TPoint{285, 108}));
    EXPECT_TRUE(w->FEndLink.IsFree());
    EXPECT_EQ(s.sheet.Nodes.Count(), 2);
}

TEST(PinDragSnap, TheReleasePointMustLieFromTheStartUpToBeforeTheEnd) {
    Scene s;
    TElectricLine* v = Vertical(s.sheet, 300, 50, 200);
    DragWire(s.aOut, {290, 200});
    EXPECT_EQ(s.sheet.Nodes.Count(), 2);
    EXPECT_TRUE(v->FEndLink.IsFree());
    DragWire(s.aIn, {290, 50});
    // At the start, which is free, the joint is the start itself.
    TElectricLine* last = v->FStartLink.Line;
    ASSERT_NE(last, nullptr);
    EXPECT_EQ(last->EndPoint(), (TPoint{300, 50}));
    EXPECT_EQ(v->FNode, s.aIn->FLink->FNode);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(PinDragSnap, ParallelWiresAreNotSnappedTo) {
    Scene s;
    new TElectricLine(s.sheet, 200, 113, false, 200);  // horizontal at y = 115
    DragWire(s.aOut, {264, 108});
    EXPECT_TRUE(s.aOut->FLink->FEndLink.IsFree());
    EXPECT_EQ(s.sheet.Nodes.Count(), 2);
}

struct TwoElementScene : Scene {
    TBaseElement* b = PlaceElement(sheet, "TTestTwoPin", 400, 300);
    TConnector* bIn = b->FConnectors[0];  // centre (404, 308)
};

TEST(PinDragSnap, WithinSquaredDistance225OfAPinTheEndJoinsThePin) {
    TwoElementScene s;
    // 14 * 14 + 5 * 5 = 221; no integer offset gives 222 to 224.
    DragWire(s.aOut, {390, 303});
    ASSERT_TRUE(s.bIn->IsConnected());
    EXPECT_EQ(s.bIn->FLink->PointOf(s.bIn), (TPoint{404, 308}));
    EXPECT_EQ(s.aOut->GetNodeID(), s.bIn->GetNodeID());
    EXPECT_EQ(s.sheet.Lines.Count(), 3);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(PinDragSnap, AtSquaredDistance225ThePinIsNotReached) {
    for (TPoint release : {TPoint{389, 308}, TPoint{392, 299}}) {
        TwoElementScene s;
        DragWire(s.aOut, release);
        EXPECT_FALSE(s.bIn->IsConnected());
        EXPECT_EQ(s.sheet.Lines[2]->EndPoint(), release);
        EXPECT_TRUE(s.sheet.Lines[2]->FEndLink.IsFree());
    }
}

TEST(PinDragSnap, AStraightWireReachesAPinBesideItsLineThroughAJog) {
    Scene s;
    TBaseElement* b = PlaceElement(s.sheet, "TTestTwoPin", 300, 95);
    TConnector* bIn = b->FConnectors[0];  // centre (304, 103)
    DragWire(s.aOut, {290, 108});
    ASSERT_TRUE(bIn->IsConnected());
    EXPECT_EQ(s.aOut->GetNodeID(), bIn->GetNodeID());
    EXPECT_EQ(s.sheet.Lines[0]->StartPoint(), (TPoint{164, 108}));
    EXPECT_EQ(s.sheet.Lines[0]->EndPoint(), (TPoint{290, 108}));
    EXPECT_EQ(WiringFault(s.sheet), "");
}

TEST(PinDragSnap, TheDraggedPinItselfIsNoTarget) {
    Scene s;
    DragWire(s.aOut, {169, 108});
    TElectricLine* w = s.aOut->FLink;
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->EndPoint(), (TPoint{169, 108}));
    EXPECT_TRUE(w->FEndLink.IsFree());
}

TEST(PinDragSnap, AWireSnapWinsOverANearerPin) {
    TwoElementScene s;
    TElectricLine* v = Vertical(s.sheet, 400, 250, 350);
    DragWire(s.aOut, {395, 306});
    EXPECT_FALSE(s.bIn->IsConnected());
    EXPECT_EQ(v->FNode, s.aOut->FLink->FNode);
    EXPECT_EQ(WiringFault(s.sheet), "");
}

// A pin holds one segment: a second wire brought to it branches off the
// segment already there, at the pin centre, and the file keeps that joint.
struct HeldPinScene : TwoElementScene {
    TBaseElement* c = PlaceElement(sheet, "TTestTwoPin", 400, 100);
    TConnector* cIn = c->FConnectors[0];   // centre (404, 108)
    TConnector* cOut = c->FConnectors[1];  // centre (464, 108)
};

bool OneNode(std::initializer_list<const TConnector*> pins) {
    const TConnector* first = *pins.begin();
    for (const TConnector* p : pins)
        if (!p->FLink || p->FLink->FNode != first->FLink->FNode) return false;
    return true;
}

TEST(PinDragHeldPin, AWireDroppedOnAPinThatHoldsOneBranchesOffItsSegment) {
    struct Case {
        bool fromOut;
        TPoint offset;  // release point relative to bIn's centre
    };
    for (const Case k : {Case{false, {0, 0}}, Case{true, {0, 0}}, Case{true, {6, -5}},
                         Case{false, {4, 9}}}) {
        SCOPED_TRACE(testing::Message() << "offset " << k.offset.x << "," << k.offset.y);
        HeldPinScene s;
        DragWire(s.aOut, s.bIn->GetLink());
        TElectricLine* first = s.bIn->FLink;
        ASSERT_NE(first, nullptr);
        TConnector* from = k.fromOut ? s.cOut : s.cIn;
        DragWire(from, s.bIn->GetLink() + k.offset);

        EXPECT_EQ(s.bIn->FLink, first) << "the first wire keeps the pin";
        EXPECT_EQ(first->PointOf(s.bIn), (TPoint{404, 308}));
        ASSERT_EQ(first->FTaps.size(), 1u);
        const TCLine branch = first->FTaps[0];
        EXPECT_EQ((TPoint{branch.x, branch.y}), (TPoint{404, 308}));
        EXPECT_TRUE(branch.Control->FStartLink.Line == first || branch.Control->FEndLink.Line == first);
        EXPECT_TRUE(OneNode({s.aOut, s.bIn, from}));
        EXPECT_EQ(WiringFault(s.sheet), "");
        EXPECT_EQ(RoundTripFault(s.sheet), "");

        Schematic back;
        LoadSchematicLines(back, SchematicToLines(s.sheet));
        EXPECT_TRUE(OneNode({back.Elements[0]->FConnectors[1], back.Elements[1]->FConnectors[0],
                             back.Elements[2]->FConnectors[k.fromOut ? 1 : 0]}));
        EXPECT_EQ(SchematicToLines(back), SchematicToLines(s.sheet));

        // The element moved afterwards drags both wires along.
        s.b->MoveBy(-30, 20);
        EXPECT_TRUE(OneNode({s.aOut, s.bIn, from}));
        EXPECT_EQ(WiringFault(s.sheet), "");
        EXPECT_EQ(RoundTripFault(s.sheet), "");
    }
}

TEST(PinDragHeldPin, AWireDrawnFromAPinThatHoldsOneBranchesOffItsSegment) {
    for (TPoint release : {TPoint{404, 420}, TPoint{520, 380}, TPoint{300, 308}}) {
        HeldPinScene s;
        DragWire(s.aOut, s.bIn->GetLink());
        TElectricLine* first = s.bIn->FLink;
        DragWire(s.bIn, release);
        EXPECT_EQ(s.bIn->FLink, first);
        EXPECT_TRUE(OneNode({s.aOut, s.bIn}));
        // The new wire runs from the pin centre, joined to the first wire there.
        TElectricLine* fresh = s.sheet.Lines[s.sheet.Lines.Count() - 1];
        EXPECT_EQ(fresh->FNode, first->FNode);
        EXPECT_EQ(WiringFault(s.sheet), "");
        EXPECT_EQ(RoundTripFault(s.sheet), "");
    }
}

TEST(PinDragHeldPin, ThreeWiresOnOnePinAllKeepTheirJoint) {
    HeldPinScene s;
    DragWire(s.aOut, s.bIn->GetLink());
    DragWire(s.cIn, s.bIn->GetLink());
    DragWire(s.cOut, s.bIn->GetLink() + TPoint{3, 3});
    DragWire(s.bIn, {404, 450});
    EXPECT_TRUE(OneNode({s.aOut, s.bIn, s.cIn, s.cOut}));
    EXPECT_EQ(s.sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(s.sheet), "");
    EXPECT_EQ(RoundTripFault(s.sheet), "");
}

} // namespace
