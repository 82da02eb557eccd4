// Wires drawn and moved with the mouse, saved and opened again: every
// junction the sheet showed comes back, and no net is joined or parted.
#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "support/TempDir.h"
#include "support/WiringInvariants.h"

namespace {

TEST(EditorWireMove, AWireDraggedAcrossAJunctionKeepsItThroughSaveAndOpen) {
    TempDir dir;
    EditorFixture f;
    TBaseElement* r1 = f.Place("TResistor", 100, 400);
    TBaseElement* r2 = f.Place("TResistor", 200, 100);
    TBaseElement* r3 = f.Place("TResistor", 600, 250);
    f.editor.ForgetHistory();
    TConnector* p1 = r1->FConnectors[1];
    TConnector* p2 = r2->FConnectors[1];
    TConnector* p3 = r3->FConnectors[0];
    const TPoint a = p1->GetLink(), b = p2->GetLink(), c = p3->GetLink();
    ASSERT_LT(b.y, c.y);
    ASSERT_LT(c.y, a.y);
    ASSERT_LT(a.x, b.x);
    ASSERT_LT(b.x, c.x);

    // A straight wire to the right from R1, and one straight down from R2
    // onto its middle.
    f.Drag(a, {a.x + 500, a.y});
    f.Drag(b, {b.x, a.y});
    // From R3 a wire ending on the middle of the one from R2, 10 pixels above
    // R3's pin: a horizontal piece on R2's wire, a jog, and a piece to R3.
    const TPoint onWire{b.x, c.y - 10};
    f.Drag(c, onWire);
    ASSERT_EQ(f.sheet.Lines.Count(), 5);
    ASSERT_EQ(p1->GetNodeID(), p2->GetNodeID());
    ASSERT_EQ(p2->GetNodeID(), p3->GetNodeID());
    TElectricLine* piece = nullptr;
    for (TElectricLine* s : f.sheet.Lines)
        if (!s->FVertical && s->StartPoint() == onWire) piece = s;
    ASSERT_NE(piece, nullptr);
    ASSERT_TRUE(piece->EndsAllowShift());
    ASSERT_EQ(RoundTripFault(f.sheet), "");

    // That piece dragged down past R1's wire: R2's wire now runs on through
    // the junction with R1's, both middles crossing there.
    const TPoint grab{(piece->StartPoint().x + piece->EndPoint().x) / 2, onWire.y};
    f.Drag(grab, {grab.x, a.y + 40});
    EXPECT_EQ(piece->StartPoint().y, a.y + 40);
    EXPECT_EQ(f.editor.UndoName(), "Перемещение проводника");
    // R2's wire is cut at the junction into two segments.
    EXPECT_EQ(f.sheet.Lines.Count(), 6);
    const std::vector<int> nets = PinNodes(f.sheet);
    EXPECT_EQ(p1->GetNodeID(), p2->GetNodeID());
    EXPECT_EQ(p2->GetNodeID(), p3->GetNodeID());
    EXPECT_EQ(WiringFault(f.sheet), "");
    EXPECT_EQ(RoundTripFault(f.sheet), "");

    f.host.SaveNames = {dir.File("cross.dvn")};
    ASSERT_TRUE(f.editor.SaveAs());
    ASSERT_TRUE(f.editor.OpenFile(dir.File("cross.dvn")));
    ASSERT_EQ(f.sheet.Elements.Count(), 3);
    EXPECT_EQ(PinNodes(f.sheet), nets);
    EXPECT_EQ(f.sheet.Nodes.Count(), 1);
    EXPECT_EQ(WiringFault(f.sheet), "");
    EXPECT_TRUE(f.messages.Entries.empty());
}

} // namespace
