#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "model/ClassRegistry.h"
#include "model/FormDescription.h"
#include "model/Schematic.h"
#include "model/TInfoConnector.h"
#include "support/RecordingMessages.h"
#include "support/TestElements.h"

// A block that really adds and deletes inputs, as the junctions do: deleting
// frees the very pin that was pressed.
class TLinkTestJunction : public TStatic {
public:
    explicit TLinkTestJunction(Schematic& sheet) : TStatic(sheet) {}
    TValue GetOutput() override { return 0.0; }
    void AddInput() override {
        auto pin = std::make_unique<TInfoInput>(this, "Input" + std::to_string(FInputs.size() + 1));
        FInputs.push_back(AddChild(std::move(pin)));
    }
    void DeleteInput(TInfoInput* input) override { RemoveChild(input); }
};

namespace {

const bool junctionForm = [] {
    RegisterForm({"TLinkTestJunction",
                  {O("Output", 40, 8), I("Input", 0, 0), I("Input2", 0, 16)},
                  {},
                  0,
                  0});
    return true;
}();

TBaseElement* Place(Schematic& sheet, const char* cls, int left, int top) {
    TBaseElement* e = CreateElementByName(sheet, cls);
    e->Left = left;
    e->Top = top;
    return e;
}

void Drag(TInfoConnector* pin, TPoint to) {
    pin->MouseDown(TMouseButton::Left, pin->Centre());
    pin->MouseMove(to);
    pin->MouseUp(TMouseButton::Left, to);
}

// Source output centre (154, 125); block input centre (306, 125), output (354, 125).
struct Pair {
    Schematic sheet;
    TInfoOutput* out = Place(sheet, "TTestSource", 100, 100)->FOutputs[0];
    TBaseElement* block = Place(sheet, "TTestBlock", 300, 100);
    TInfoInput* in = block->FInputs[0];
};

TEST(LinkDragRubber, PressMoveAndReleaseDriveTheRubberLink) {
    Pair p;
    const TRubberLink& rubber = p.sheet.Editor.RubberLink;
    p.out->MouseDown(TMouseButton::Left, {150, 121});
    EXPECT_EQ(rubber.Pin, p.out);
    EXPECT_EQ(rubber.Start, (TPoint{154, 125}));
    EXPECT_FALSE(rubber.Shown);
    p.out->MouseMove({260, 200});
    EXPECT_TRUE(rubber.Shown);
    EXPECT_EQ(rubber.End, (TPoint{260, 200}));
    EXPECT_EQ(rubber.Path(), (std::vector<TPoint>{{154, 125}, {207, 125}, {207, 200}, {260, 200}}));
    // Moves and releases meant for another pin leave this drag alone.
    p.in->MouseMove({0, 0});
    p.in->MouseUp(TMouseButton::Left, p.in->Centre());
    EXPECT_EQ(rubber.End, (TPoint{260, 200}));
    EXPECT_FALSE(p.in->IsConnected());
    p.out->MouseUp(TMouseButton::Left, {260, 200});
    EXPECT_FALSE(rubber.Active());
    EXPECT_FALSE(rubber.Shown);
}

TEST(LinkDragRubber, OnlyTheLeftButtonDrags) {
    Pair p;
    p.out->MouseDown(TMouseButton::Right, p.out->Centre());
    EXPECT_FALSE(p.sheet.Editor.RubberLink.Active());
}

TEST(LinkDragReach, FromAnOutputManhattanDistance49ConnectsAnd50DoesNot) {
    Pair p;
    Drag(p.out, {306 + 30, 125 + 20});
    EXPECT_FALSE(p.in->IsConnected());
    Drag(p.out, {306 - 20, 125 - 30});
    EXPECT_FALSE(p.in->IsConnected());
    p.sheet.Modified = false;
    Drag(p.out, {306 + 30, 125 + 19});
    EXPECT_EQ(p.in->GetSource(), p.out);
    EXPECT_TRUE(p.sheet.Modified);
}

TEST(LinkDragReach, FromAnInputManhattanDistance49ConnectsAnd50DoesNot) {
    Pair p;
    Drag(p.in, {154 - 25, 125 + 25});
    EXPECT_FALSE(p.in->IsConnected());
    // The block's own output at (354, 125) is the nearest one here.
    Drag(p.in, {154 + 49, 125});
    EXPECT_EQ(p.in->GetSource(), p.out);
    Drag(p.in, {354 - 10, 125});
    EXPECT_EQ(p.in->GetSource(), p.block->FOutputs[0]);
}

TEST(LinkDragReach, ADroppedInputReplacesItsSourceWithTheDraggedOutput) {
    Pair p;
    TInfoOutput* other = Place(p.sheet, "TTestSource", 100, 300)->FOutputs[0];
    p.in->SetSource(other);
    Drag(p.out, p.in->Centre());
    EXPECT_EQ(p.in->GetSource(), p.out);
    EXPECT_TRUE(other->FTargets.empty());
}

TEST(LinkDragNearest, TheNearestPinWinsAndTheFirstOneWinsATie) {
    Schematic sheet;
    TInfoOutput* out = Place(sheet, "TTestSource", 100, 100)->FOutputs[0];
    TBaseElement* two = Place(sheet, "TTestTwoInputs", 300, 100);
    // Inputs 12 x 12 at (0, 13) and (0, 29): centres (306, 119) and (306, 135).
    TInfoInput* first = two->FInputs[0];
    TInfoInput* second = two->FInputs[1];
    Drag(out, {306, 128});
    EXPECT_EQ(second->GetSource(), out);
    EXPECT_FALSE(first->IsConnected());
    second->SetSource(nullptr);
    Drag(out, {306, 127});
    EXPECT_EQ(first->GetSource(), out);
    EXPECT_FALSE(second->IsConnected());
}

TEST(LinkDragNearest, OutputsTieToTheFirstCreated) {
    Schematic sheet;
    TInfoOutput* upper = Place(sheet, "TTestSource", 100, 100)->FOutputs[0];
    TInfoOutput* lower = Place(sheet, "TTestSource", 100, 140)->FOutputs[0];
    TInfoInput* in = Place(sheet, "TTestBlock", 300, 100)->FInputs[0];
    // Output centres (154, 125) and (154, 165): the point between is 20 from each.
    Drag(in, {154, 145});
    EXPECT_EQ(in->GetSource(), upper);
    Drag(in, {154, 146});
    EXPECT_EQ(in->GetSource(), lower);
}

TEST(LinkDragInput, PressingALinkedInputDropsItsSource) {
    Pair p;
    p.in->SetSource(p.out);
    p.in->MouseDown(TMouseButton::Left, p.in->Centre());
    EXPECT_FALSE(p.in->IsConnected());
    EXPECT_TRUE(p.out->FTargets.empty());
    p.in->MouseMove({600, 600});
    p.in->MouseUp(TMouseButton::Left, {600, 600});
    EXPECT_FALSE(p.in->IsConnected());
}

TEST(LinkDragPinMode, PressesAskTheOwnerForPinsOfThePressedKind) {
    RecordingMessages messages;
    Pair p;
    p.in->SetSource(p.out);
    p.sheet.Editor.PinMode = true;
    p.sheet.Editor.AddPinMode = true;
    p.in->MouseDown(TMouseButton::Left, p.in->Centre());
    p.block->FOutputs[0]->MouseDown(TMouseButton::Left, p.block->FOutputs[0]->Centre());
    p.sheet.Editor.AddPinMode = false;
    p.in->MouseDown(TMouseButton::Left, p.in->Centre());
    p.block->FOutputs[0]->MouseDown(TMouseButton::Left, p.block->FOutputs[0]->Centre());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"К этому блоку нельзя добавить информационные входы.",
                                        "К этому блоку нельзя добавить информационные выходы.",
                                        "У этого блока нельзя удалять информационные входы.",
                                        "У этого блока нельзя удалять информационные выходы."}));
    // Nothing else happens: no drag, and the input keeps its source.
    EXPECT_FALSE(p.sheet.Editor.RubberLink.Active());
    EXPECT_EQ(p.in->GetSource(), p.out);
}

TEST(LinkDragPinMode, DeletingThePressedInputFreesItsLink) {
    RecordingMessages messages;
    Schematic sheet;
    TInfoOutput* out = Place(sheet, "TTestSource", 100, 100)->FOutputs[0];
    TBaseElement* junction = Place(sheet, "TLinkTestJunction", 300, 100);
    TInfoInput* second = junction->FInputs[1];
    second->SetSource(out);
    sheet.Editor.PinMode = true;
    sheet.Editor.AddPinMode = false;
    sheet.Modified = false;
    second->MouseDown(TMouseButton::Left, second->Centre());
    EXPECT_EQ(junction->FInputs.size(), 1u);
    EXPECT_TRUE(out->FTargets.empty());
    EXPECT_EQ(sheet.AllInputs.Count(), 1);
    EXPECT_TRUE(sheet.Modified);
    sheet.Editor.AddPinMode = true;
    junction->FInputs[0]->MouseDown(TMouseButton::Left, junction->FInputs[0]->Centre());
    EXPECT_EQ(junction->FInputs.size(), 2u);
    EXPECT_EQ(sheet.AllInputs.Count(), 2);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(LinkDragLifetime, FreeingTheDraggedPinEndsTheDrag) {
    Pair p;
    p.in->MouseDown(TMouseButton::Left, p.in->Centre());
    p.sheet.FreeElement(p.block);
    EXPECT_FALSE(p.sheet.Editor.RubberLink.Active());
}

} // namespace

REGISTER_ELEMENT(TLinkTestJunction, TStatic);
