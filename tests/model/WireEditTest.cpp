#include <gtest/gtest.h>

#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/WireHitTest.h"
#include "support/TestElements.h"
#include "support/WireDrawing.h"
#include "support/WiringInvariants.h"

namespace {

void Click(TElectricLine* s, TPoint p, bool shift = false) {
    s->MouseDown(TMouseButton::Left, shift, p);
    s->MouseUp(TMouseButton::Left, shift, p);
}

TEST(WireSelection, AClickSelectsTheWholeNodeAndNothingElse) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    auto* lone = new TElectricLine(sheet, 0, 500, false, 50);
    DragWire(a->FConnectors[1], {264, 140});
    a->SetSelected(true);
    lone->Select();
    Click(sheet.Lines[2], {240, 140});
    EXPECT_EQ(sheet.SelectedLines.Count(), 3);
    EXPECT_FALSE(lone->FSelected);
    EXPECT_TRUE(sheet.SelectedElements.Empty());
    for (TElectricLine* s : sheet.Lines) {
        if (s == lone) continue;
        EXPECT_TRUE(s->FSelected);
        EXPECT_EQ(s->FPenColor, clRed);
        EXPECT_EQ(s->FPenWidth, 2);
    }
}

TEST(WireSelection, ShiftClickTogglesOneSegment) {
    Schematic sheet;
    const auto r = TElectricLine::CreateRoute(sheet, {10, 20}, {111, 50});
    Click(r[0], {30, 20}, true);
    Click(r[2], {90, 50}, true);
    EXPECT_EQ(sheet.SelectedLines.Count(), 2);
    EXPECT_FALSE(r[1]->FSelected);
    Click(r[0], {30, 20}, true);
    EXPECT_FALSE(r[0]->FSelected);
    EXPECT_EQ(r[0]->FPenColor, clBlack);
    EXPECT_EQ(r[0]->FPenWidth, 1);
    EXPECT_EQ(sheet.SelectedLines.Count(), 1);
}

TEST(WireSelection, DeletingTheSelectionFreesTheSelectedSegments) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    DragWire(a->FConnectors[1], {264, 140});
    Click(sheet.Lines[0], {180, 108});
    sheet.DeleteSelection();
    EXPECT_TRUE(sheet.Lines.Empty());
    EXPECT_TRUE(sheet.Nodes.Empty());
    EXPECT_FALSE(a->FConnectors[1]->IsConnected());
}

TEST(WireHitTest, ASegmentIsHitWithinItsFivePixelBox) {
    Schematic sheet;
    auto* h = new TElectricLine(sheet, 10, 18, false, 100);  // y = 20, x 10..110
    EXPECT_EQ(LineAt(sheet, {50, 18}), h);
    EXPECT_EQ(LineAt(sheet, {50, 22}), h);
    EXPECT_EQ(LineAt(sheet, {50, 23}), nullptr);
    EXPECT_EQ(LineAt(sheet, {50, 17}), nullptr);
    EXPECT_EQ(LineAt(sheet, {9, 20}), nullptr);
    auto* v = new TElectricLine(sheet, 48, 0, true, 40);  // x = 50 over h
    EXPECT_EQ(LineAt(sheet, {50, 20}), v);
}

TEST(WireHitTest, APinIsHitWithinItsBox) {
    Schematic sheet;
    TBaseElement* a = PlaceElement(sheet, "TTestTwoPin", 100, 100);
    // Connector2 sits at (60, 4) in the element: (160..167, 104..111).
    EXPECT_EQ(ConnectorAt(sheet, {160, 104}), a->FConnectors[1]);
    EXPECT_EQ(ConnectorAt(sheet, {167, 111}), a->FConnectors[1]);
    EXPECT_EQ(ConnectorAt(sheet, {168, 111}), nullptr);
    EXPECT_EQ(ConnectorAt(sheet, {100, 104}), a->FConnectors[0]);
}

} // namespace
