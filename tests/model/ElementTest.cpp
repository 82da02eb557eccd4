#include <gtest/gtest.h>

#include <cmath>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"
#include "support/RecordingMessages.h"
#include "support/TestElements.h"

namespace {

struct PinBox {
    int left, top;
    friend bool operator==(const PinBox&, const PinBox&) = default;
};

std::vector<PinBox> PinBoxes(const TBaseElement& e) {
    std::vector<PinBox> out;
    for (auto* c : e.FConnectors) out.push_back({c->Left, c->Top});
    for (auto* c : e.FInputs) out.push_back({c->Left, c->Top});
    for (auto* c : e.FOutputs) out.push_back({c->Left, c->Top});
    return out;
}

class HostSpy : public TSheetHost {
public:
    void SelectionChanged(bool any) override { anySelected = any; ++selectionCalls; }
    void EditElementParams(TBaseElement& e) override { edited = &e; }
    bool anySelected = false;
    int selectionCalls = 0;
    TBaseElement* edited = nullptr;
};

TEST(ElementCreation, UnknownAndAbstractClassesAreRefused) {
    Schematic sheet;
    EXPECT_THROW(CreateElementByName(sheet, "TNoSuchThing"), TElementCreateError);
    EXPECT_THROW(CreateElementByName(sheet, "TStatic"), TElementCreateError);
    EXPECT_TRUE(sheet.Elements.Empty());
}

TEST(ElementCreation, FormsApplyFamilyPinsFirstAndSizeTheBox) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestBlock");
    EXPECT_TRUE(sheet.Modified);
    EXPECT_EQ(e->Name(), "TestBlock");
    EXPECT_EQ(sheet.Statics.Count(), 1);
    ASSERT_EQ(e->FInputs.size(), 1u);
    ASSERT_EQ(e->FOutputs.size(), 1u);
    // The family form declared Output then Input; the concrete form moved them.
    // Box 60 x 26 from the picture and pins, then the block margins:
    // 24 more pixels of height, picture 12 down, pins 13 down.
    EXPECT_EQ(e->Width, 60);
    EXPECT_EQ(e->Height, 50);
    EXPECT_EQ(e->Image()->Top, 12);
    EXPECT_EQ((PinBox{e->FOutputs[0]->Left, e->FOutputs[0]->Top}), (PinBox{48, 19}));
    EXPECT_EQ((PinBox{e->FInputs[0]->Left, e->FInputs[0]->Top}), (PinBox{0, 19}));
}

TEST(ElementCreation, OutputOnlyBlocksGetRoomOnTheLeft) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestSource");
    EXPECT_EQ(e->Width, 60);
    EXPECT_EQ(e->Height, 48);
    EXPECT_EQ(e->Image()->Left, 10);
    EXPECT_EQ(e->FOutputs[0]->Left, 48);
    EXPECT_EQ(e->FOutputs[0]->Top, 19);
}

TEST(ElementCreation, ElectricalElementsGetNoBlockMargins) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestTwoPin");
    EXPECT_EQ(e->Width, 68);
    EXPECT_EQ(e->Height, 16);
    EXPECT_EQ(e->ParamCount, 1);
    EXPECT_DOUBLE_EQ(e->ParamValues[0].Value, 1000);
    EXPECT_EQ(e->ParamValues[0].Unit, 1);
}

TEST(ElementRotation, BlockTurnedFourTimesReturnsToItsPins) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestBlock");
    const auto start = PinBoxes(*e);
    e->SetAngle(e->GetAngle() + 90);
    // Output at 90 sits centred at the bottom, the input centred at the top.
    EXPECT_EQ(e->FAngle, 90);
    EXPECT_EQ(e->FOutputs[0]->CurrentAngleValue(), 90);
    EXPECT_EQ((PinBox{e->FOutputs[0]->Left, e->FOutputs[0]->Top}), (PinBox{24, 50 - 14}));
    EXPECT_EQ((PinBox{e->FInputs[0]->Left, e->FInputs[0]->Top}), (PinBox{24, 2}));
    for (int i = 0; i < 3; ++i) e->SetAngle(e->GetAngle() + 90);
    EXPECT_EQ(e->FAngle, 0);
    EXPECT_EQ(PinBoxes(*e), start);
}

TEST(ElementRotation, BlocksWithSeveralInputsAreNotTurned) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestTwoInputs");
    const auto start = PinBoxes(*e);
    e->SetAngle(90);
    EXPECT_EQ(e->FAngle, 0);
    EXPECT_EQ(PinBoxes(*e), start);
}

// Reference rotation: each pin's centre turned clockwise about the element centre.
TEST(ElementRotation, ElectricalPinsFollowTheirCentresAroundTheElementCentre) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestThreePin");
    ASSERT_EQ(e->Width, 40);
    ASSERT_EQ(e->Height, 48);
    struct C {
        double x, y;
    };
    std::vector<C> centres;
    for (auto* c : e->FConnectors)
        centres.push_back({c->Left + 4.0 - e->Width / 2.0, c->Top + 4.0 - e->Height / 2.0});

    e->SetAngle(90);
    EXPECT_EQ(e->FAngle, 90);
    EXPECT_EQ(e->Width, 48);
    EXPECT_EQ(e->Height, 40);
    for (std::size_t i = 0; i < centres.size(); ++i) {
        const double cx = -centres[i].y + e->Width / 2.0;
        const double cy = centres[i].x + e->Height / 2.0;
        EXPECT_NEAR(e->FConnectors[i]->Left + 4.0, cx, 0.5) << "pin " << i;
        EXPECT_NEAR(e->FConnectors[i]->Top + 4.0, cy, 0.5) << "pin " << i;
    }
    // The picture control swaps its size and stays inside the box.
    EXPECT_EQ(e->Image()->Width, 48);
    EXPECT_EQ(e->Image()->Height, 40);

    // Setting the present angle again does nothing; 270 more returns home.
    const auto at90 = PinBoxes(*e);
    e->SetAngle(90);
    EXPECT_EQ(PinBoxes(*e), at90);
    e->SetAngle(0);
    EXPECT_EQ(e->Width, 40);
    EXPECT_EQ(e->FConnectors[1]->Left, 30);
    EXPECT_EQ(e->FConnectors[1]->Top, 12);
}

TEST(ElementRotation, MirroringTwiceRestoresPinsAndPicture) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestThreePin");
    e->SetAngle(180);
    const auto start = PinBoxes(*e);
    const auto picture = e->Paint();
    e->SetXFlip(true);
    EXPECT_TRUE(e->GetXFlip());
    EXPECT_EQ(e->FConnectors[0]->Left, e->Width - start[0].left - 8);
    e->SetYFlip(true);
    e->SetXFlip(false);
    e->SetYFlip(false);
    EXPECT_EQ(PinBoxes(*e), start);
    EXPECT_EQ(e->Paint(), picture);
}

TEST(ElementMove, LeftOfTheOriginIsRefusedWhileTheOtherAxisFollows) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestTwoPin");
    e->Left = 5;
    e->Top = 50;
    e->MoveBy(-10, 7);
    EXPECT_EQ(e->Left, 5);
    EXPECT_EQ(e->Top, 57);
    e->MoveBy(-5, -57);  // reaching 0 is refused too
    EXPECT_EQ(e->Left, 5);
    EXPECT_EQ(e->Top, 57);
    e->MoveBy(3, -1);
    EXPECT_EQ(e->Left, 8);
    EXPECT_EQ(e->Top, 56);
}

TEST(ElementMouse, ClickSelectsOnlyShiftTogglesDragMovesTheSelection) {
    Schematic sheet;
    HostSpy host;
    sheet.Host = &host;
    TBaseElement* a = CreateElementByName(sheet, "TTestTwoPin");
    TBaseElement* b = CreateElementByName(sheet, "TTestTwoPin");
    TBaseElement* c = CreateElementByName(sheet, "TTestTwoPin");
    for (TBaseElement* e : {a, b, c}) e->Left = e->Top = 100;

    a->MouseDown(TMouseButton::Left, false, 10, 5);
    a->MouseUp(TMouseButton::Left, false, 10, 5);
    EXPECT_EQ(sheet.SelectedElements.Items(), (std::vector<TBaseElement*>{a}));
    EXPECT_TRUE(host.anySelected);

    b->MouseDown(TMouseButton::Left, true, 1, 1);
    b->MouseUp(TMouseButton::Left, true, 1, 1);
    EXPECT_EQ(sheet.SelectedElements.Items(), (std::vector<TBaseElement*>{a, b}));

    // Dragging a selected element moves the whole selection, not the others.
    sheet.Modified = false;
    b->MouseDown(TMouseButton::Left, false, 10, 5);
    b->MouseMove(14, 8);
    b->MouseUp(TMouseButton::Left, false, 14, 8);
    EXPECT_EQ(a->Left, 104);
    EXPECT_EQ(b->Top, 103);
    EXPECT_EQ(c->Left, 100);
    EXPECT_TRUE(sheet.Modified);
    EXPECT_EQ(sheet.SelectedElements.Count(), 2);  // a drag keeps the selection

    // Dragging an unselected element moves it alone.
    c->MouseDown(TMouseButton::Left, false, 0, 0);
    c->MouseMove(-3, 2);
    c->MouseUp(TMouseButton::Left, false, -3, 2);
    EXPECT_EQ(c->Left, 97);
    EXPECT_EQ(a->Left, 104);

    // Shift toggles off; a plain click then selects only the clicked element.
    a->MouseDown(TMouseButton::Left, true, 0, 0);
    EXPECT_EQ(sheet.SelectedElements.Items(), (std::vector<TBaseElement*>{b}));
    c->MouseDown(TMouseButton::Left, false, 0, 0);
    c->MouseUp(TMouseButton::Left, false, 0, 0);
    EXPECT_EQ(sheet.SelectedElements.Items(), (std::vector<TBaseElement*>{c}));
    EXPECT_TRUE(c->Image()->Picture.Highlight);
    EXPECT_FALSE(b->Image()->Picture.Highlight);

    // A right press opens the parameters of elements that have any.
    c->MouseDown(TMouseButton::Right, false, 0, 0);
    EXPECT_EQ(host.edited, c);
    sheet.Host = nullptr;
}

TEST(ElementMouse, RightPressOnAnElementWithoutParametersDoesNothing) {
    Schematic sheet;
    HostSpy host;
    sheet.Host = &host;
    TBaseElement* e = CreateElementByName(sheet, "TTestThreePin");
    e->MouseDown(TMouseButton::Right, false, 0, 0);
    EXPECT_EQ(host.edited, nullptr);
    EXPECT_TRUE(e->ParamValues.empty());
    sheet.Host = nullptr;
}

TEST(ElementMouse, PinModePressesAskForPinsByHalfAndKeepTheMode) {
    Schematic sheet;
    RecordingMessages messages;
    TBaseElement* e = CreateElementByName(sheet, "TTestBlock");
    sheet.Editor.PinMode = true;
    sheet.Editor.AddPinMode = true;
    e->MouseDown(TMouseButton::Left, false, 2, 10);
    e->MouseDown(TMouseButton::Left, false, e->Width - 2, 10);
    sheet.Editor.AddPinMode = false;
    e->MouseDown(TMouseButton::Left, false, 2, 10);
    e->MouseDown(TMouseButton::Left, false, e->Width - 2, 10);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{
                                    "К этому блоку нельзя добавить информационные входы.",
                                    "К этому блоку нельзя добавить информационные выходы.",
                                    "У этого блока нельзя удалять информационные входы.",
                                    "У этого блока нельзя удалять информационные выходы."}));
    EXPECT_EQ(messages.Entries[0].Caption, "QUENTOR");
    EXPECT_TRUE(sheet.Editor.PinMode);
    EXPECT_TRUE(sheet.SelectedElements.Empty());
}

TEST(ElementLifetime, DeletingASelectedElementLeavesEveryList) {
    Schematic sheet;
    HostSpy host;
    sheet.Host = &host;
    TBaseElement* a = CreateElementByName(sheet, "TTestBlock");
    TBaseElement* b = CreateElementByName(sheet, "TTestBlock");
    a->SetSelected(true);
    EXPECT_EQ(sheet.AllInputs.Count(), 2);
    sheet.FreeElement(a);
    EXPECT_TRUE(sheet.SelectedElements.Empty());
    EXPECT_FALSE(host.anySelected);
    EXPECT_EQ(sheet.Elements.Items(), (std::vector<TBaseElement*>{b}));
    EXPECT_EQ(sheet.Statics.Count(), 1);
    EXPECT_EQ(sheet.AllInputs.Count(), 1);
    EXPECT_EQ(sheet.AllOutputs.Count(), 1);
    // A new block of the family takes the last registry position.
    TBaseElement* c = CreateElementByName(sheet, "TTestBlock");
    EXPECT_EQ(sheet.Statics.IndexOf(static_cast<TStatic*>(c)), 1);
    sheet.Host = nullptr;
}

TEST(ElementLifetime, ClearFreesEverythingAndMarksTheSchematicModified) {
    Schematic sheet;
    for (const char* name : {"TTestBlock", "TTestTwoPin", "TTestSource"})
        CreateElementByName(sheet, name)->SetSelected(true);
    sheet.Modified = false;
    sheet.Clear();
    EXPECT_TRUE(sheet.Modified);
    EXPECT_TRUE(sheet.Elements.Empty());
    EXPECT_TRUE(sheet.SelectedElements.Empty());
    EXPECT_TRUE(sheet.ConnectorList.Empty());
    EXPECT_TRUE(sheet.Producers.Empty());
}

} // namespace
