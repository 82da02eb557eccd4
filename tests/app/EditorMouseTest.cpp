#include <gtest/gtest.h>

#include <memory>

#include "EditorFixture.h"
#include "model/ClassRegistry.h"
#include "model/FormDescription.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "support/TestElements.h"

// A block that really adds and deletes inputs: deleting frees the very pin
// that was pressed.
class TEditorTestJunction : public TStatic {
public:
    explicit TEditorTestJunction(Schematic& sheet) : TStatic(sheet) {}
    TValue GetOutput() override { return 0.0; }
    void AddInput() override {
        FInputs.push_back(AddChild(std::make_unique<TInfoInput>(this, "Input" + std::to_string(FInputs.size() + 1))));
    }
    void DeleteInput(TInfoInput* input) override { RemoveChild(input); }
};

REGISTER_ELEMENT(TEditorTestJunction, TStatic);

namespace {

const bool junctionForm = [] {
    RegisterForm({"TEditorTestJunction", {O("Output", 40, 8), I("Input", 0, 0), I("Input2", 0, 16)}, {}, 0, 0});
    return true;
}();

// A horizontal wire segment with free ends, from (x1, y) to (x2, y).
TElectricLine* Wire(Schematic& sheet, int x1, int x2, int y) {
    return new TElectricLine(sheet, x1, y - 2, false, x2 - x1);
}

using Kind = TSheetHit::TKind;

TEST(EditorHitTest, PinsLieAboveTheirElementAndElementsAboveWires) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);   // box 68 x 16
    TBaseElement* block = f.Place("TTestBlock", 300, 100);
    TElectricLine* under = Wire(f.sheet, 80, 200, 110);  // runs under element a
    TElectricLine* free = Wire(f.sheet, 80, 200, 300);

    const TSheetHit onPin = HitTest(f.sheet, CentreOf(*a->FConnectors[1]));
    EXPECT_EQ(onPin.Kind, Kind::Connector);
    EXPECT_EQ(onPin.Connector, a->FConnectors[1]);
    EXPECT_EQ(onPin.Element, a);

    const TSheetHit onBody = HitTest(f.sheet, {134, 110});
    EXPECT_EQ(onBody.Kind, Kind::Element);
    EXPECT_EQ(onBody.Element, a);

    const TSheetHit onInput = HitTest(f.sheet, CentreOf(*block->FInputs[0]));
    EXPECT_EQ(onInput.Kind, Kind::SignalPin);
    EXPECT_EQ(onInput.SignalPin, block->FInputs[0]);
    const TSheetHit onOutput = HitTest(f.sheet, CentreOf(*block->FOutputs[0]));
    EXPECT_EQ(onOutput.SignalPin, block->FOutputs[0]);

    const TSheetHit wireOutside = HitTest(f.sheet, {190, 110});
    EXPECT_EQ(wireOutside.Kind, Kind::Line);
    EXPECT_EQ(wireOutside.Line, under);
    EXPECT_EQ(HitTest(f.sheet, {100, 300}).Line, free);
    EXPECT_EQ(HitTest(f.sheet, {100, 305}).Kind, Kind::Sheet);
    EXPECT_EQ(HitTest(f.sheet, {5000, 5000}).Kind, Kind::Sheet);
}

TEST(EditorHitTest, TheLatestElementIsOnTopAndHidesThePinsBelowIt) {
    EditorFixture f;
    TBaseElement* lower = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* upper = f.Place("TTestTwoPin", 140, 96);  // covers lower's right pin
    const TPoint hiddenPin = CentreOf(*lower->FConnectors[1]);
    const TSheetHit hit = HitTest(f.sheet, hiddenPin);
    EXPECT_EQ(hit.Kind, Kind::Element);
    EXPECT_EQ(hit.Element, upper);
    EXPECT_EQ(HitTest(f.sheet, {110, 110}).Element, lower);
}

TEST(EditorCapture, TheElementPressedGetsEveryMoveAndTheRelease) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 100, 300);
    f.sheet.Modified = false;
    f.editor.MouseDown(TMouseButton::Left, false, {120, 110});
    // Far away from the element, and over another one: still the same drag.
    f.editor.MouseMove({420, 310});
    EXPECT_EQ(a->Left, 400);
    EXPECT_EQ(a->Top, 300);
    f.editor.MouseMove({430, 315});
    f.editor.MouseUp(TMouseButton::Left, false, {430, 315});
    EXPECT_EQ(a->Left, 410);
    EXPECT_EQ(a->Top, 305);
    EXPECT_EQ(b->Left, 100);
    EXPECT_TRUE(f.sheet.Modified);
    // A drag selects nothing.
    EXPECT_TRUE(f.sheet.SelectedElements.Empty());
    // After the release the moves go nowhere.
    f.editor.MouseMove({600, 600});
    EXPECT_EQ(a->Left, 410);
}

TEST(EditorCapture, ARightPressCapturesNothing) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 300, 100);
    // The release of a right press may go to a dialog it opened; the next
    // left drag works all the same.
    f.editor.MouseDown(TMouseButton::Right, false, {120, 110});
    f.Drag({320, 110}, {340, 130});
    EXPECT_EQ(b->Left, 320);
    EXPECT_EQ(a->Left, 100);
    f.editor.MouseDown(TMouseButton::Right, false, {900, 900});
    f.Drag({120, 110}, {100, 90});
    EXPECT_EQ(a->Left, 80);
}

TEST(EditorCapture, ClicksSelectOneElementShiftClicksToggle) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 300, 100);
    f.Click({120, 110});
    EXPECT_EQ(f.sheet.SelectedElements.Items(), std::vector<TBaseElement*>{a});
    f.Click({320, 110});
    EXPECT_EQ(f.sheet.SelectedElements.Items(), std::vector<TBaseElement*>{b});
    f.Click({120, 110}, true);
    EXPECT_EQ(f.sheet.SelectedElements.Items(), (std::vector<TBaseElement*>{b, a}));
    f.Click({320, 110}, true);
    EXPECT_EQ(f.sheet.SelectedElements.Items(), std::vector<TBaseElement*>{a});
    EXPECT_FALSE(b->FSelected);
}

TEST(EditorCapture, DraggingASelectedElementMovesTheWholeSelection) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 300, 100);
    TBaseElement* c = f.Place("TTestTwoPin", 500, 100);
    f.Click({120, 110});
    f.Click({320, 110}, true);
    f.Drag({320, 110}, {340, 150});
    EXPECT_EQ(a->Left, 120);
    EXPECT_EQ(a->Top, 140);
    EXPECT_EQ(b->Left, 320);
    EXPECT_EQ(b->Top, 140);
    EXPECT_EQ(c->Left, 500);
    EXPECT_EQ(c->Top, 100);
}

TEST(EditorCapture, AWireDragRunsFromPinToPin) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 300, 160);
    const TPoint from = CentreOf(*a->FConnectors[1]);  // (164, 108)
    const TPoint to = CentreOf(*b->FConnectors[0]);    // (304, 168)
    f.editor.MouseDown(TMouseButton::Left, false, from);
    f.editor.MouseMove({250, 150});
    EXPECT_EQ(f.editor.CursorShape(), TCursorShape::UpArrow);
    // The rubber wire runs from the mouse to the pin through the middle column.
    EXPECT_EQ(f.editor.RubberWire(), (std::vector<TPoint>{{250, 150}, {207, 150}, {207, 108}, from}));
    f.editor.MouseMove(to);
    f.editor.MouseUp(TMouseButton::Left, false, to);
    EXPECT_TRUE(f.editor.RubberWire().empty());
    ASSERT_EQ(f.sheet.Lines.Count(), 3);  // |dx| > |dy|: horizontal, jog, horizontal
    ASSERT_TRUE(a->FConnectors[1]->IsConnected());
    ASSERT_TRUE(b->FConnectors[0]->IsConnected());
    EXPECT_EQ(a->FConnectors[1]->GetNodeID(), b->FConnectors[0]->GetNodeID());
    EXPECT_FALSE(a->FConnectors[0]->IsConnected());
}

TEST(EditorCapture, ALinkDragJoinsTheNearestInputAndShowsTheRubberLink) {
    EditorFixture f;
    TBaseElement* source = f.Place("TTestSource", 100, 100);
    TBaseElement* block = f.Place("TTestBlock", 300, 180);
    TInfoOutput* out = source->FOutputs[0];
    TInfoInput* in = block->FInputs[0];
    const TPoint start = out->Centre();
    f.editor.MouseDown(TMouseButton::Left, false, start);
    EXPECT_TRUE(f.editor.RubberLink().empty());  // nothing shown before the first move
    f.editor.MouseMove({250, 170});
    const std::vector<TPoint> rubber = f.editor.RubberLink();
    ASSERT_FALSE(rubber.empty());
    EXPECT_EQ(rubber.front(), start);
    EXPECT_EQ(rubber.back(), (TPoint{250, 170}));
    // 10 + 20 = 30 from the input's centre: within the 50 of a link's reach.
    const TPoint release = in->Centre() + TPoint{10, 20};
    f.editor.MouseMove(release);
    f.editor.MouseUp(TMouseButton::Left, false, release);
    EXPECT_TRUE(f.editor.RubberLink().empty());
    EXPECT_EQ(in->GetSource(), out);

    // Pressing on the connected input and letting go far from any output
    // leaves it without a source.
    f.Drag(in->Centre(), {900, 900});
    EXPECT_EQ(in->GetSource(), nullptr);
}

TEST(EditorCapture, ASegmentDragShiftsAFreeSegmentAndAClickSelectsItsNode) {
    EditorFixture f;
    TElectricLine* w = Wire(f.sheet, 100, 300, 200);
    TElectricLine* other = Wire(f.sheet, 100, 300, 400);
    f.Drag({150, 200}, {160, 230});
    EXPECT_EQ(w->StartPoint(), (TPoint{100, 230}));
    EXPECT_EQ(w->EndPoint(), (TPoint{300, 230}));
    f.Click({150, 230});
    EXPECT_TRUE(w->FSelected);
    EXPECT_FALSE(other->FSelected);
    f.Click({150, 400}, true);
    EXPECT_TRUE(w->FSelected);
    EXPECT_TRUE(other->FSelected);
}

TEST(EditorRubberBand, ADownRightBandSelectsWhatItOverlaps) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* far = f.Place("TTestTwoPin", 600, 600);
    TElectricLine* w = Wire(f.sheet, 150, 250, 140);
    TElectricLine* farWire = Wire(f.sheet, 600, 700, 500);
    f.editor.MouseDown(TMouseButton::Left, false, {90, 90});
    f.editor.MouseMove({200, 160});
    ASSERT_TRUE(f.editor.RubberBand());
    EXPECT_EQ(*f.editor.RubberBand(), (TRect{90, 90, 200, 160}));
    f.editor.MouseUp(TMouseButton::Left, false, {200, 160});
    EXPECT_FALSE(f.editor.RubberBand());
    EXPECT_TRUE(a->FSelected);
    EXPECT_TRUE(w->FSelected);
    EXPECT_FALSE(far->FSelected);
    EXPECT_FALSE(farWire->FSelected);
    EXPECT_TRUE(f.editor.CanTransform());
}

TEST(EditorRubberBand, ABandDraggedUpOrLeftSelectsNothingAndClearsTheSelection) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    f.Click({120, 110});
    ASSERT_TRUE(a->FSelected);
    f.Drag({200, 160}, {90, 90});
    EXPECT_FALSE(a->FSelected);
    f.Drag({90, 160}, {200, 90});  // up
    EXPECT_FALSE(a->FSelected);
    f.Drag({200, 90}, {90, 160});  // left
    EXPECT_FALSE(a->FSelected);
    EXPECT_TRUE(f.sheet.SelectedElements.Empty());
}

TEST(EditorRubberBand, OverlapNeedsAPositiveArea) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);  // box 100..168 x 100..116
    f.Drag({50, 50}, {100, 200});
    EXPECT_FALSE(a->FSelected);  // touches the left edge only
    f.Drag({50, 50}, {101, 200});
    EXPECT_TRUE(a->FSelected);
    f.Drag({50, 116}, {300, 200});
    EXPECT_FALSE(a->FSelected);  // starts on the bottom edge
}

TEST(EditorRubberBand, ShiftAndRightPressesKeepTheSelection) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    f.Click({120, 110});
    f.Click({500, 500}, true);
    EXPECT_TRUE(a->FSelected);
    EXPECT_FALSE(f.editor.RubberBand());
    f.Click({500, 500}, false, TMouseButton::Right);
    EXPECT_TRUE(a->FSelected);
    f.Click({500, 500});
    EXPECT_FALSE(a->FSelected);
}

TEST(EditorRubberBand, EscapeDropsTheBand) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    f.editor.MouseDown(TMouseButton::Left, false, {90, 90});
    f.editor.MouseMove({200, 160});
    f.editor.Escape();
    EXPECT_FALSE(f.editor.RubberBand());
    f.editor.MouseUp(TMouseButton::Left, false, {200, 160});
    EXPECT_FALSE(a->FSelected);
}

TEST(EditorPalette, TheNewElementIsCentredUnderTheCursorAndFollowsTheMouse) {
    EditorFixture f;
    TBaseElement* e = f.editor.PlaceElement("TTestTwoPin", {300, 200});
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Left, 300 - 68 / 2);
    EXPECT_EQ(e->Top, 200 - 16 / 2);
    EXPECT_TRUE(f.sheet.Modified);
    // No button is held: the element rides along with the mouse.
    f.editor.MouseMove({350, 260});
    EXPECT_EQ(e->Left, 316);
    EXPECT_EQ(e->Top, 252);
    EXPECT_EQ(f.editor.CursorShape(), TCursorShape::Drag);
    // A click puts it down and selects it.
    f.Click({350, 260});
    EXPECT_TRUE(e->FSelected);
    f.editor.MouseMove({500, 500});
    EXPECT_EQ(e->Left, 316);
}

TEST(EditorPalette, ACursorAboveOrLeftOfTheSheetPlacesAtTheOrigin) {
    EditorFixture f;
    TBaseElement* e = f.editor.PlaceElement("TTestTwoPin", {-40, 5});
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Left, 0);
    EXPECT_EQ(e->Top, 0);
    TBaseElement* g = f.editor.PlaceElement("TTestTwoPin", {500, -100});
    EXPECT_EQ(g->Left, 466);
    EXPECT_EQ(g->Top, 0);
}

TEST(EditorPalette, AnUnknownClassIsReported) {
    EditorFixture f;
    EXPECT_EQ(f.editor.PlaceElement("TNoSuchElement", {100, 100}), nullptr);
    ASSERT_EQ(f.messages.Entries.size(), 1u);
    EXPECT_EQ(f.messages.Entries[0].Kind, "error");
    EXPECT_EQ(f.messages.Entries[0].Text.rfind("Ошибка создания элемента TNoSuchElement:\n", 0), 0u);
    EXPECT_TRUE(f.sheet.Elements.Empty());
}

TEST(EditorPinMode, AnyPressOnTheEmptySheetEndsTheMode) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    f.Click({120, 110});
    f.sheet.Modified = false;
    f.editor.BeginPinMode(true);
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_EQ(f.editor.CursorShape(), TCursorShape::Cross);
    f.Click({500, 500}, false, TMouseButton::Right);
    EXPECT_FALSE(f.editor.PinMode());
    EXPECT_TRUE(a->FSelected);  // a right press starts no band
    f.editor.BeginPinMode(false);
    f.editor.MouseDown(TMouseButton::Left, false, {500, 500});
    EXPECT_FALSE(f.editor.PinMode());
    EXPECT_FALSE(a->FSelected);  // a left press also clears and starts the band
    EXPECT_TRUE(f.editor.RubberBand());
    f.editor.MouseUp(TMouseButton::Left, false, {500, 500});
    EXPECT_EQ(f.editor.CursorShape(), TCursorShape::Default);
}

TEST(EditorPinMode, PressesOnABlockAddOrDeleteItsInputs) {
    EditorFixture f;
    TBaseElement* j = f.Place("TEditorTestJunction", 100, 100);
    ASSERT_EQ(j->FInputs.size(), 2u);
    f.editor.BeginPinMode(true);
    ASSERT_EQ(HitTest(f.sheet, {j->Left + 20, j->Top + 26}).Kind, Kind::Element);
    f.Click({j->Left + 20, j->Top + 26});  // left half: an input
    EXPECT_EQ(j->FInputs.size(), 3u);
    EXPECT_TRUE(f.editor.PinMode());
    EXPECT_EQ(j->Left, 100);  // no drag either

    f.editor.BeginPinMode(false);
    TInfoInput* doomed = j->FInputs[1];
    const TPoint at = doomed->Centre();
    f.editor.MouseDown(TMouseButton::Left, false, at);
    EXPECT_EQ(j->FInputs.size(), 2u);
    EXPECT_EQ(std::count(j->FInputs.begin(), j->FInputs.end(), doomed), 0);
    // The freed pin gets neither the moves nor the release.
    f.editor.MouseMove(at + TPoint{30, 30});
    f.editor.MouseUp(TMouseButton::Left, false, at + TPoint{30, 30});
    EXPECT_FALSE(f.sheet.Editor.RubberLink.Active());
    EXPECT_TRUE(f.editor.PinMode());
}

TEST(EditorPinMode, ABlockThatCannotAddInputsSaysSo) {
    EditorFixture f;
    TBaseElement* b = f.Place("TTestBlock", 100, 100);
    f.editor.BeginPinMode(true);
    f.Click({b->Left + 5, b->Top + b->Height / 2 + 8});
    EXPECT_EQ(f.messages.Texts(), std::vector<std::string>{"К этому блоку нельзя добавить информационные входы."});
}

TEST(EditorCursor, TheCursorTellsWhatLiesUnderTheMouse) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* block = f.Place("TTestBlock", 300, 100);
    Wire(f.sheet, 100, 300, 400);
    const auto at = [&f](TPoint p) {
        f.editor.MouseMove(p);
        return f.editor.CursorShape();
    };
    EXPECT_EQ(at({120, 110}), TCursorShape::Drag);
    EXPECT_EQ(at(CentreOf(*a->FConnectors[0])), TCursorShape::UpArrow);
    EXPECT_EQ(at(block->FInputs[0]->Centre()), TCursorShape::UpArrow);
    EXPECT_EQ(at({200, 400}), TCursorShape::HandPoint);
    EXPECT_EQ(at({800, 800}), TCursorShape::Default);
    f.editor.BeginPinMode(true);
    EXPECT_EQ(at({120, 110}), TCursorShape::Cross);
    EXPECT_EQ(at({200, 400}), TCursorShape::Cross);
}

TEST(EditorHint, AWireTellsItsNode) {
    EditorFixture f;
    Wire(f.sheet, 100, 300, 400);
    Wire(f.sheet, 100, 300, 500);
    EXPECT_EQ(f.editor.HintAt({200, 500}), std::optional<std::string>("Узел: 1"));
    EXPECT_EQ(f.editor.HintAt({200, 400}), std::optional<std::string>("Узел: 0"));
    EXPECT_FALSE(f.editor.HintAt({200, 450}));
}

} // namespace
