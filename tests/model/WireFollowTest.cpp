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

TEST(WireFollow, MovingAnElementDragsAFreeWireWithIt) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TConnector* out = a->FConnectors[1];
    DragWire(out, {264, 108});
    TElectricLine* w = out->FLink;
    a->MoveBy(10, 5);
    // The start follows the pin to (174, 113); the horizontal wire moves down
    // as a whole, its free end with it.
    EXPECT_EQ(w->StartPoint(), (TPoint{174, 113}));
    EXPECT_EQ(w->EndPoint(), (TPoint{264, 113}));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(WireFollow, AThreePieceWireStretchesItsJog) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TBaseElement* b = PlaceElement(sheet, "TTestTwoPin", 400, 200);
    DragWire(a->FConnectors[1], b->FConnectors[0]->GetLink());
    ASSERT_EQ(sheet.Lines.Count(), 3);
    a->MoveBy(0, 20);
    EXPECT_EQ(sheet.Lines[0]->StartPoint(), (TPoint{164, 128}));
    EXPECT_EQ(sheet.Lines[1]->StartPoint(), (TPoint{284, 128}));
    EXPECT_EQ(sheet.Lines[1]->EndPoint(), (TPoint{284, 208}));
    EXPECT_EQ(sheet.Lines[2]->EndPoint(), (TPoint{404, 208}));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(WireFollow, AStraightWireBetweenTwoPinsGetsAJogInsteadOfTearing) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    TBaseElement* b = PlaceElement(sheet, "TTestTwoPin", 300, 100);
    TConnector* out = a->FConnectors[1];
    TConnector* in = b->FConnectors[0];
    DragWire(out, in->GetLink());
    ASSERT_EQ(sheet.Lines.Count(), 1);
    TElectricLine* straight = sheet.Lines[0];
    a->MoveBy(0, 10);
    EXPECT_EQ(straight->StartPoint(), (TPoint{164, 108}));
    EXPECT_EQ(straight->EndPoint(), (TPoint{304, 108}));
    EXPECT_EQ(in->FLink, straight);
    EXPECT_EQ(out->FLink->PointOf(out), (TPoint{164, 118}));
    EXPECT_EQ(out->GetNodeID(), in->GetNodeID());
    EXPECT_EQ(WiringFault(sheet), "");
    // Further moves use the jog instead of adding more pieces.
    const int pieces = sheet.Lines.Count();
    a->MoveBy(3, 4);
    a->MoveBy(-5, 2);
    EXPECT_EQ(sheet.Lines.Count(), pieces);
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(WireFollow, BothPinsOfAMovedElementOnOneWireStayOnIt) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    DragWire(a->FConnectors[0], a->FConnectors[1]->GetLink());
    ASSERT_TRUE(a->FConnectors[1]->IsConnected());
    a->MoveBy(7, 9);
    EXPECT_EQ(a->FConnectors[0]->GetNodeID(), a->FConnectors[1]->GetNodeID());
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(WireFollow, OnlyTheEffectiveMoveReachesTheWire) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 5, 100);
    TConnector* out = a->FConnectors[1];  // centre (69, 108)
    DragWire(out, {169, 108});
    a->MoveBy(-10, 5);
    EXPECT_EQ(a->Left, 5);
    EXPECT_EQ(out->FLink->StartPoint(), (TPoint{69, 113}));
    EXPECT_EQ(WiringFault(sheet), "");
}

TEST(WireFollow, TurningAndMirroringAnElementCarryItsWireEnds) {
    Schematic sheet;
    TBaseElement* e = PlaceElement(sheet, "TTestThreePin", 200, 200);
    DragWire(e->FConnectors[0], {100, 150});
    DragWire(e->FConnectors[1], {400, 260});
    DragWire(e->FConnectors[2], {215, 400});
    for (int angle : {90, 180, 270, 0}) {
        e->SetAngle(angle);
        EXPECT_EQ(WiringFault(sheet), "") << "angle " << angle;
    }
    e->SetXFlip(true);
    EXPECT_EQ(WiringFault(sheet), "");
    e->SetYFlip(true);
    EXPECT_EQ(WiringFault(sheet), "");
    for (TConnector* c : e->FConnectors) {
        ASSERT_TRUE(c->IsConnected());
        EXPECT_EQ(c->FLink->PointOf(c), c->GetLink());
    }
}

} // namespace
