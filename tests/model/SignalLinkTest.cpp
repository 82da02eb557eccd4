#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/SignalLink.h"
#include "model/TInfoConnector.h"
#include "support/TestElements.h"

namespace {

using Segment = std::pair<TPoint, TPoint>;

// The source's output centre is (54, 25) in the element, the block's input
// centre (6, 25), both pins 12 x 12 at angle 0.
TBaseElement* Place(Schematic& sheet, const char* cls, int left, int top) {
    TBaseElement* e = CreateElementByName(sheet, cls);
    e->Left = left;
    e->Top = top;
    return e;
}

std::vector<Segment> Pieces(const TInfoInput* input) {
    std::vector<Segment> out;
    if (!input->FConnection) return out;
    for (const auto& p : input->FConnection->Pieces)
        out.push_back({p->From, p->To});
    return out;
}

// Pieces of the polyline through the given points, skipping repeated points.
std::vector<Segment> Chain(std::vector<TPoint> points) {
    std::vector<Segment> out;
    for (std::size_t k = 1; k < points.size(); ++k)
        if (!(points[k] == points[k - 1])) out.push_back({points[k - 1], points[k]});
    return out;
}

TEST(SignalLinkExample, OutputToTheRightStepsThroughTheMiddleColumn) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    TBaseElement* blk = Place(sheet, "TTestBlock", 300, 140);
    TInfoInput* in = blk->FInputs[0];
    in->SetSource(src->FOutputs[0]);
    // C_o (154, 125), O (160, 125); C_i (306, 165), I (300, 165); middle x
    // 160 + 140 / 2 = 230.
    EXPECT_EQ(Pieces(in), Chain({{154, 125}, {160, 125}, {230, 125}, {230, 165}, {300, 165}}));
    const TInfoLine& stub = *in->FConnection->Pieces[0];
    EXPECT_EQ(stub.BoundsRect(), RectFromBounds(154, 125, 7, 1));
    const TInfoLine& rise = *in->FConnection->Pieces[2];
    EXPECT_EQ(rise.BoundsRect(), RectFromBounds(230, 125, 1, 41));
}

TEST(SignalLinkExample, InputToTheLeftLoopsBelowIt) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    TBaseElement* blk = Place(sheet, "TTestBlock", 20, 143);
    TInfoInput* in = blk->FInputs[0];
    // I (20, 168): 43 pixels below O, so the route loops 62 below the input.
    in->SetSource(src->FOutputs[0]);
    EXPECT_EQ(Pieces(in), Chain({{154, 125}, {160, 125}, {160, 230}, {20, 230}, {20, 168}}));
    // One pixel more height difference takes the middle row instead.
    blk->MoveBy(0, 1);
    EXPECT_EQ(Pieces(in), Chain({{154, 125}, {160, 125}, {160, 147}, {20, 147}, {20, 169}}));
}

TEST(SignalLinkPieces, RepeatedPointsAreSkippedAndSparePiecesFreed) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    TBaseElement* blk = Place(sheet, "TTestBlock", 300, 100);
    TInfoInput* in = blk->FInputs[0];
    in->SetSource(src->FOutputs[0]);
    // Level pins: both middle points lie on the row; the step collapses.
    EXPECT_EQ(Pieces(in),
              (std::vector<Segment>{
                  {{154, 125}, {160, 125}}, {{160, 125}, {230, 125}}, {{230, 125}, {300, 125}}}));
    blk->MoveBy(0, 40);
    EXPECT_EQ(in->FConnection->Pieces.size(), 4u);
    blk->MoveBy(0, -40);
    EXPECT_EQ(in->FConnection->Pieces.size(), 3u);
    EXPECT_EQ(PaintSignalLinks(sheet).size(), 3u);
    for (const TPrimitive& p : PaintSignalLinks(sheet)) {
        EXPECT_EQ(p.Kind, TPrimitiveKind::Line);
        EXPECT_EQ(p.Pen.Color, clBlack);
        EXPECT_EQ(p.Pen.Width, 1);
    }
}

TEST(SignalLinkPieces, RoutingStoresReducedPinAngles) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    TBaseElement* blk = Place(sheet, "TTestBlock", 300, 100);
    TInfoInput* in = blk->FInputs[0];
    in->SetSource(src->FOutputs[0]);
    src->FOutputs[0]->SetCurrentAngleValue(360);
    in->SetCurrentAngleValue(720);
    in->RedrawConnection();
    EXPECT_EQ(src->FOutputs[0]->CurrentAngleValue(), 0);
    EXPECT_EQ(in->CurrentAngleValue(), 0);
    EXPECT_EQ(in->FConnection->Pieces.size(), 3u);
}

TEST(SignalLinkPieces, TurningTheTargetReroutesItsLink) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    TBaseElement* blk = Place(sheet, "TTestBlock", 300, 140);
    TInfoInput* in = blk->FInputs[0];
    in->SetSource(src->FOutputs[0]);
    blk->SetAngle(180);
    // The input now sits on the right edge at (48, 19) facing left: C_i
    // (354, 165), I (360, 165); dy 40 <= 42 passes 65 below I.
    EXPECT_EQ(in->CurrentAngleValue(), 180);
    EXPECT_EQ(Pieces(in), Chain({{154, 125}, {160, 125}, {160, 230}, {360, 230}, {360, 165}}));
}

TEST(SignalLinkPieces, PinsLaidOutAgainDragTheirLinks) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    TBaseElement* blk = Place(sheet, "TTestBlock", 300, 100);
    TInfoInput* in = blk->FInputs[0];
    in->SetSource(src->FOutputs[0]);
    // As a junction does when it spaces its inputs out again.
    in->SetPosition(0, 29);
    EXPECT_EQ(Pieces(in), Chain({{154, 125}, {160, 125}, {230, 125}, {230, 135}, {300, 135}}));
    src->FOutputs[0]->SetPosition(48, 9);
    EXPECT_EQ(Pieces(in), Chain({{154, 115}, {160, 115}, {230, 115}, {230, 135}, {300, 135}}));
}

TEST(SignalLinkFanOut, OneOutputFeedsThreeInputs) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    std::vector<TInfoInput*> inputs;
    for (int k = 0; k < 3; ++k)
        inputs.push_back(Place(sheet, "TTestBlock", 300, 60 + 80 * k)->FInputs[0]);
    TInfoOutput* out = src->FOutputs[0];
    for (TInfoInput* in : inputs)
        in->SetSource(out);
    EXPECT_EQ(out->FTargets, inputs);
    for (TInfoInput* in : inputs)
        EXPECT_EQ(in->GetSource(), out);
    EXPECT_EQ(Pieces(inputs[1]),
              Chain({{154, 125}, {160, 125}, {230, 125}, {230, 165}, {300, 165}}));

    // Moving the source re-routes all three links.
    src->MoveBy(0, 10);
    EXPECT_EQ(Pieces(inputs[0]), Chain({{154, 135}, {160, 135}, {230, 135}, {230, 85}, {300, 85}}));
    EXPECT_EQ(Pieces(inputs[1]),
              Chain({{154, 135}, {160, 135}, {230, 135}, {230, 165}, {300, 165}}));
    EXPECT_EQ(Pieces(inputs[2]),
              Chain({{154, 135}, {160, 135}, {230, 135}, {230, 245}, {300, 245}}));

    // Moving one target re-routes its link only.
    const auto first = Pieces(inputs[0]), last = Pieces(inputs[2]);
    inputs[1]->Parent()->MoveBy(20, 0);
    EXPECT_EQ(Pieces(inputs[1]),
              Chain({{154, 135}, {160, 135}, {240, 135}, {240, 165}, {320, 165}}));
    EXPECT_EQ(Pieces(inputs[0]), first);
    EXPECT_EQ(Pieces(inputs[2]), last);
}

TEST(SignalLinkSource, SettingASourceReplacesTheOldLink) {
    Schematic sheet;
    TInfoOutput* a = Place(sheet, "TTestSource", 100, 100)->FOutputs[0];
    TInfoOutput* b = Place(sheet, "TTestSource", 100, 300)->FOutputs[0];
    TInfoInput* in = Place(sheet, "TTestBlock", 300, 100)->FInputs[0];
    sheet.Modified = false;
    in->SetSource(a);
    EXPECT_TRUE(sheet.Modified);
    EXPECT_TRUE(in->IsConnected());
    in->SetSource(b);
    EXPECT_TRUE(a->FTargets.empty());
    EXPECT_EQ(b->FTargets, (std::vector<TInfoInput*>{in}));
    EXPECT_EQ(in->GetSource(), b);
    EXPECT_EQ(in->FConnection->Pieces.front()->From, (TPoint{154, 325}));
    in->SetSource(nullptr);
    EXPECT_FALSE(in->IsConnected());
    EXPECT_EQ(in->GetSource(), nullptr);
    EXPECT_TRUE(b->FTargets.empty());
    EXPECT_TRUE(PaintSignalLinks(sheet).empty());
    // Clearing an unconnected input changes nothing.
    sheet.Modified = false;
    in->SetSource(nullptr);
    EXPECT_FALSE(sheet.Modified);
}

TEST(SignalLinkLifetime, DestroyingAnOutputClearsItsTargets) {
    Schematic sheet;
    TBaseElement* src = Place(sheet, "TTestSource", 100, 100);
    TInfoInput* a = Place(sheet, "TTestBlock", 300, 60)->FInputs[0];
    TInfoInput* b = Place(sheet, "TTestBlock", 300, 160)->FInputs[0];
    a->SetSource(src->FOutputs[0]);
    b->SetSource(src->FOutputs[0]);
    sheet.Modified = false;
    sheet.FreeElement(src);
    EXPECT_FALSE(a->IsConnected());
    EXPECT_FALSE(b->IsConnected());
    EXPECT_TRUE(sheet.Modified);
    EXPECT_EQ(sheet.AllOutputs.Count(), 2);
    EXPECT_TRUE(PaintSignalLinks(sheet).empty());
}

TEST(SignalLinkLifetime, DestroyingAnElementWithALinkedInputFreesTheLink) {
    Schematic sheet;
    TInfoOutput* out = Place(sheet, "TTestSource", 100, 100)->FOutputs[0];
    TBaseElement* a = Place(sheet, "TTestBlock", 300, 60);
    TInfoInput* b = Place(sheet, "TTestBlock", 300, 160)->FInputs[0];
    a->FInputs[0]->SetSource(out);
    b->SetSource(out);
    sheet.FreeElement(a);
    EXPECT_EQ(out->FTargets, (std::vector<TInfoInput*>{b}));
    EXPECT_EQ(sheet.AllInputs.Items(), (std::vector<TInfoInput*>{b}));
    EXPECT_EQ(PaintSignalLinks(sheet).size(), Pieces(b).size());
}

TEST(SignalLinkLifetime, ABlockFeedingItselfCanBeFreed) {
    Schematic sheet;
    TBaseElement* blk = Place(sheet, "TTestBlock", 100, 100);
    TInfoInput* other = Place(sheet, "TTestBlock", 300, 100)->FInputs[0];
    blk->FInputs[0]->SetSource(blk->FOutputs[0]);
    other->SetSource(blk->FOutputs[0]);
    sheet.FreeElement(blk);
    EXPECT_FALSE(other->IsConnected());
    EXPECT_EQ(sheet.AllOutputs.Count(), 1);
}

} // namespace
