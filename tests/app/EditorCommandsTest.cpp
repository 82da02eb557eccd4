#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "support/TestElements.h"

namespace {

TEST(EditorCommands, RotateAndMirrorNeedASelection) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestThreePin", 100, 100);
    EXPECT_FALSE(f.editor.CanTransform());
    f.sheet.Modified = false;
    f.editor.Rotate();
    EXPECT_EQ(a->FAngle, 0);
    f.Click({a->Left + 20, a->Top + 24});
    ASSERT_TRUE(a->FSelected);
    EXPECT_TRUE(f.editor.CanTransform());
    f.editor.Rotate();
    EXPECT_EQ(a->FAngle, 90);
    EXPECT_TRUE(f.sheet.Modified);
    // The 40 x 48 box turns into 48 x 40.
    EXPECT_EQ(a->Width, 48);
    EXPECT_EQ(a->Height, 40);
    f.editor.Rotate();
    f.editor.Rotate();
    f.editor.Rotate();
    EXPECT_EQ(a->FAngle, 0);
    f.Click({900, 900});
    EXPECT_FALSE(f.editor.CanTransform());
}

TEST(EditorCommands, MirrorsFlipEverySelectedElementAndItsPins) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestThreePin", 100, 100);  // pin B at (30, 12), 8 x 8
    TBaseElement* b = f.Place("TTestThreePin", 300, 100);
    TBaseElement* other = f.Place("TTestThreePin", 500, 100);
    f.Drag({90, 90}, {360, 160});
    ASSERT_TRUE(a->FSelected && b->FSelected && !other->FSelected);
    f.editor.MirrorLeftRight();
    EXPECT_TRUE(a->GetXFlip());
    EXPECT_TRUE(b->GetXFlip());
    EXPECT_FALSE(other->GetXFlip());
    EXPECT_EQ(a->FindConnector("B")->Left, 40 - 30 - 8);
    f.editor.MirrorTopBottom();
    EXPECT_TRUE(a->GetYFlip());
    EXPECT_EQ(a->FindConnector("B")->Top, 48 - 12 - 8);
    f.editor.MirrorLeftRight();
    EXPECT_FALSE(a->GetXFlip());
    EXPECT_EQ(a->FindConnector("B")->Left, 30);
}

TEST(EditorCommands, DeleteFreesTheSelectedElementsAndSegments) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 400, 100);
    // A wire from a to b, then select a and the wire's node.
    f.Drag(CentreOf(*a->FConnectors[1]), CentreOf(*b->FConnectors[0]));
    ASSERT_EQ(f.sheet.Lines.Count(), 1);
    f.Click({250, 108});
    f.Click({120, 110}, true);
    ASSERT_EQ(f.sheet.SelectedLines.Count(), 1);
    f.sheet.Modified = false;
    f.editor.DeleteSelection();
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_EQ(f.sheet.Elements.Items(), std::vector<TBaseElement*>{b});
    EXPECT_EQ(f.sheet.Lines.Count(), 0);
    EXPECT_FALSE(b->FConnectors[0]->IsConnected());
    EXPECT_FALSE(f.editor.CanTransform());
}

TEST(EditorCommands, DeletingAnElementLeavesItsWiresOnTheSheet) {
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 400, 100);
    f.Drag(CentreOf(*a->FConnectors[1]), CentreOf(*b->FConnectors[0]));
    f.Click({120, 110});
    f.editor.DeleteSelection();
    EXPECT_EQ(f.sheet.Lines.Count(), 1);
    EXPECT_TRUE(b->FConnectors[0]->IsConnected());
    EXPECT_EQ(f.sheet.Lines[0]->FStartLink.Pin, nullptr);
}

} // namespace
