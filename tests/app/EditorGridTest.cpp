#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "app/SchematicFile.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "support/TestElements.h"
#include "support/WiringInvariants.h"

namespace {

constexpr int Step = TEditor::GridStep;

bool OnGrid(const TBaseElement* e) { return e->Left % Step == 0 && e->Top % Step == 0; }

struct GridFixture : EditorFixture {
    GridFixture() { editor.SnapToGrid = true; }
};

TEST(EditorGrid, SnapRoundsToTheNearestLineOnBothSidesOfTheOrigin) {
    GridFixture f;
    EXPECT_EQ(f.editor.Snap(14), 10);
    EXPECT_EQ(f.editor.Snap(15), 20);
    EXPECT_EQ(f.editor.Snap(-14), -10);
    EXPECT_EQ(f.editor.Snap(-15), -20);
    EXPECT_EQ(f.editor.Snap(0), 0);
    f.editor.SnapToGrid = false;
    EXPECT_EQ(f.editor.Snap(14), 14);
}

TEST(EditorGrid, APlacedElementLandsOnTheGridAndFollowsTheMouseOnIt) {
    GridFixture f;
    // 68 x 16: centred under (300, 200) its corner would be (266, 192).
    TBaseElement* e = f.editor.PlaceElement("TTestTwoPin", {300, 200});
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->Left, 270);
    EXPECT_EQ(e->Top, 190);
    f.editor.MouseMove({353, 263}); // corner (319, 255)
    EXPECT_EQ(e->Left, 320);
    EXPECT_EQ(e->Top, 260);
    f.Click({353, 263});
    EXPECT_EQ(e->Left, 320);
    EXPECT_EQ(e->Top, 260);
    EXPECT_TRUE(e->FSelected);
}

TEST(EditorGrid, ADraggedSelectionKeepsItsShapeAndItsLeaderLandsOnTheGrid) {
    GridFixture f;
    // Positions of an old file, off the grid; they load and save as they are.
    TBaseElement* a = f.Place("TTestTwoPin", 104, 96);
    TBaseElement* b = f.Place("TTestTwoPin", 197, 203);
    f.Drag(CentreOf(*a->FConnectors[1]), CentreOf(*b->FConnectors[0]));
    f.editor.ForgetHistory();
    const std::vector<std::string> before = SchematicToLines(f.sheet);
    Schematic reread;
    LoadSchematicLines(reread, before);
    EXPECT_EQ(SchematicToLines(reread), before);
    EXPECT_EQ(reread.Elements[0]->Left, 104);

    // A click without a move leaves an element where it is, off the grid.
    f.Click({a->Left + 30, a->Top + 8});
    EXPECT_EQ(a->Left, 104);
    EXPECT_TRUE(a->FSelected);
    b->SetSelected(true);
    const int dx = b->Left - a->Left, dy = b->Top - a->Top;
    f.Drag({a->Left + 30, a->Top + 8}, {a->Left + 30 + 43, a->Top + 8 + 22});
    EXPECT_TRUE(OnGrid(a)) << a->Left << "," << a->Top;
    EXPECT_EQ(a->Left, 150); // 147 rounded
    EXPECT_EQ(a->Top, 120);  // 118 rounded
    EXPECT_EQ(b->Left - a->Left, dx);
    EXPECT_EQ(b->Top - a->Top, dy);
    EXPECT_EQ(WiringFault(f.sheet), "");
    EXPECT_EQ(f.editor.UndoName(), "Перемещение");
    f.editor.Undo();
    EXPECT_EQ(SchematicToLines(f.sheet), before);

    // Without snapping a drag moves by the mouse's pixels.
    f.editor.SnapToGrid = false;
    TBaseElement* c = f.sheet.Elements[0];
    f.Drag({c->Left + 30, c->Top + 8}, {c->Left + 30 + 43, c->Top + 8 + 22});
    EXPECT_EQ(c->Left, 147);
    EXPECT_EQ(c->Top, 118);
}

TEST(EditorGrid, APasteAtTheMousePutsTheDrawingsCornerThereOnTheGrid) {
    GridFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 140, 200);
    f.Drag(CentreOf(*a->FConnectors[0]), CentreOf(*b->FConnectors[0]));
    f.editor.ForgetHistory();
    // The wire runs left of both elements: it is the drawing's left edge.
    int left = 100, top = 100;
    for (const TElectricLine* s : f.sheet.Lines) {
        left = std::min({left, s->Left, s->Left + (s->FVertical ? 0 : s->Width)});
        top = std::min({top, s->Top, s->Top + (s->FVertical ? s->Height : 0)});
    }
    a->SetSelected(true);
    b->SetSelected(true);
    const std::string text = f.editor.SelectionText();
    const int lines = f.sheet.Lines.Count();

    ASSERT_TRUE(f.editor.Paste(text, TPoint{603, 418}));
    ASSERT_EQ(f.sheet.Elements.Count(), 4);
    const TBaseElement *pa = f.sheet.Elements[2], *pb = f.sheet.Elements[3];
    // The offset is whole grid steps, so the copy keeps its place on the grid.
    const int dx = pa->Left - a->Left, dy = pa->Top - a->Top;
    EXPECT_EQ(dx % Step, 0);
    EXPECT_EQ(dy % Step, 0);
    EXPECT_LE(std::abs(left + dx - 603), Step / 2);
    EXPECT_LE(std::abs(top + dy - 418), Step / 2);
    EXPECT_EQ(pb->Left - pa->Left, b->Left - a->Left);
    EXPECT_EQ(f.sheet.Lines.Count(), 2 * lines);
    EXPECT_EQ(WiringFault(f.sheet), "");

    // Without snapping the corner lands on the mouse's very pixel; a paste
    // beside the originals again starts one step off them.
    f.editor.SnapToGrid = false;
    ASSERT_TRUE(f.editor.Paste(text, TPoint{603, 418}));
    const TBaseElement* qa = f.sheet.Elements[4];
    EXPECT_EQ(left + qa->Left - a->Left, 603);
    EXPECT_EQ(top + qa->Top - a->Top, 418);
    ASSERT_TRUE(f.editor.Paste(text));
    EXPECT_EQ(f.sheet.Elements[6]->Left, a->Left + 20);

    // At the sheet's very corner the rounding never goes below zero.
    f.editor.SnapToGrid = true;
    ASSERT_TRUE(f.editor.Paste(text, TPoint{0, 0}));
    const TBaseElement* ca = f.sheet.Elements[8];
    EXPECT_GE(left + ca->Left - a->Left, 0);
    EXPECT_GE(top + ca->Top - a->Top, 0);
    EXPECT_LT(left + ca->Left - a->Left, Step);
    EXPECT_EQ((ca->Left - a->Left) % Step, 0);
    EXPECT_EQ(WiringFault(f.sheet), "");
    EXPECT_TRUE(f.messages.Entries.empty());
}

} // namespace
