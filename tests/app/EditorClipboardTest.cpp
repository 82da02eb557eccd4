#include <gtest/gtest.h>

#include "EditorFixture.h"
#include "app/SchematicFile.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "support/ExampleBuilder.h"
#include "support/WiringInvariants.h"

namespace {

// An element's record with the position left out of the header.
std::vector<std::string> RecordWithoutPlace(const TBaseElement& e) {
    std::vector<std::string> lines;
    e.SaveToStrings(lines);
    const std::string& header = lines[0];
    const std::size_t colon = header.find(':');
    const std::size_t second = header.find(',', header.find(',', colon) + 1);
    lines[0] = header.substr(0, colon) + header.substr(second);
    return lines;
}

// A battery and two resistors wired in a loop, a summing junction with a
// third input fed by a constant and by a gain outside the copy.
struct Circuit {
    explicit Circuit(EditorFixture& f) : b(f.sheet) {
        battery = b.Place("TBattery", "Plus", {100, 100});
        r1 = b.Place("TResistor", "Connector1", {200, 100});
        r2 = b.Place("TResistor", "Connector1", {200, 200});
        b.Drag(battery, "Plus", r1->FindConnector("Connector1")->GetLink());
        b.Drag(r1, "Connector2", r2->FindConnector("Connector2")->GetLink());
        b.Drag(r2, "Connector1", battery->FindConnector("Minus")->GetLink());
        r1->FindParam("R")->Value = 2200;
        constant = b.PlaceBox("TConst", 100, 400);
        junction = b.PlaceBox("TSummingJunction", 300, 400);
        junction->AddInput();
        gain = b.PlaceBox("TGain", 100, 550);
        b.Link(constant, junction, 0);
        b.Link(gain, junction, 2);
        f.editor.ForgetHistory();
    }
    ExampleBuilder b;
    TBaseElement *battery, *r1, *r2, *constant, *junction, *gain;
};

TEST(EditorClipboard, ASelectionPastesIntoAnotherEditorWithItsWiresLinksAndValues) {
    EditorFixture f;
    Circuit c(f);
    for (TBaseElement* e : {c.battery, c.r1, c.r2, c.constant, c.junction})
        e->SetSelected(true);
    const std::string text = f.editor.SelectionText();
    ASSERT_EQ(text.rfind(SchematicSignature, 0), 0u);
    EXPECT_EQ(f.sheet.Elements.Count(), 6); // copying changes nothing
    EXPECT_FALSE(f.editor.UndoEnabled());

    EditorFixture g;
    g.Place("TGround", 600, 600); // the pasted elements come after what is there
    g.editor.ForgetHistory();
    ASSERT_TRUE(g.editor.Paste(text));
    ASSERT_EQ(g.sheet.Elements.Count(), 6);
    EXPECT_EQ(g.editor.UndoName(), "Вставка");
    for (int i = 1; i < 6; ++i)
        EXPECT_TRUE(g.sheet.Elements[i]->FSelected) << i;
    EXPECT_FALSE(g.sheet.Elements[0]->FSelected);
    const TBaseElement* originals[] = {c.battery, c.r1, c.r2, c.constant, c.junction};
    for (int i = 0; i < 5; ++i) {
        const TBaseElement* copy = g.sheet.Elements[i + 1];
        EXPECT_EQ(copy->ClassName(), originals[i]->ClassName());
        EXPECT_EQ(copy->Left, originals[i]->Left + 20);
        EXPECT_EQ(copy->Top, originals[i]->Top + 20);
        EXPECT_EQ(RecordWithoutPlace(*copy), RecordWithoutPlace(*originals[i]))
            << copy->ClassName();
    }
    EXPECT_EQ(g.sheet.Elements[2]->ParamOf("R"), 2200);
    // The three wires of the loop came along, each node joining the same pins.
    EXPECT_EQ(g.sheet.Lines.Count(), f.sheet.Lines.Count());
    const auto node = [](const TBaseElement* e, const char* pin) {
        return e->FindConnector(pin)->FLink->FNode;
    };
    const TBaseElement *battery = g.sheet.Elements[1], *r1 = g.sheet.Elements[2],
                       *r2 = g.sheet.Elements[3];
    EXPECT_EQ(node(battery, "Plus"), node(r1, "Connector1"));
    EXPECT_EQ(node(r1, "Connector2"), node(r2, "Connector2"));
    EXPECT_EQ(node(r2, "Connector1"), node(battery, "Minus"));
    EXPECT_NE(node(battery, "Plus"), node(battery, "Minus"));
    EXPECT_EQ(WiringFault(g.sheet), "");
    // The junction keeps its three inputs; the link from the gain left behind is gone.
    const TBaseElement* junction = g.sheet.Elements[5];
    ASSERT_EQ(junction->FInputs.size(), 3u);
    EXPECT_EQ(junction->FInputs[0]->GetSource(), g.sheet.Elements[4]->FOutputs[0]);
    EXPECT_EQ(junction->FInputs[2]->GetSource(), nullptr);
    EXPECT_TRUE(g.messages.Entries.empty());

    // Pasting the same text again lands further on; undo takes one paste back.
    ASSERT_TRUE(g.editor.Paste(text));
    ASSERT_EQ(g.sheet.Elements.Count(), 11);
    EXPECT_EQ(g.sheet.Elements[6]->Left, c.battery->Left + 40);
    g.editor.Undo();
    EXPECT_EQ(g.sheet.Elements.Count(), 6);
    g.editor.Undo();
    EXPECT_EQ(g.sheet.Elements.Count(), 1);
    // The run settings of the copy are not the target's.
    EXPECT_EQ(SchematicToLines(g.sheet)[1], SchematicToLines(EditorFixture().sheet)[1]);
}

TEST(EditorClipboard, WiresToElementsLeftOutAreDropped) {
    EditorFixture f;
    Circuit c(f);
    c.r1->SetSelected(true);
    EditorFixture g;
    ASSERT_TRUE(g.editor.Paste(f.editor.SelectionText()));
    ASSERT_EQ(g.sheet.Elements.Count(), 1);
    // The resistor's wires also reach the battery and the other resistor.
    EXPECT_TRUE(g.sheet.Lines.Empty());
    EXPECT_FALSE(g.sheet.Elements[0]->FindConnector("Connector1")->IsConnected());
    EXPECT_EQ(g.sheet.Elements[0]->ParamOf("R"), 2200);
}

TEST(EditorClipboard, CutIsOneStepAndDuplicateSelectsTheCopies) {
    EditorFixture f;
    Circuit c(f);
    const std::string before = f.editor.History().Text();
    for (TBaseElement* e : {c.battery, c.r1, c.r2})
        e->SetSelected(true);
    const std::string text = f.editor.Cut();
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(f.sheet.Elements.Count(), 3);
    EXPECT_TRUE(f.sheet.Lines.Empty());
    EXPECT_EQ(f.editor.UndoName(), "Вырезание");
    f.editor.Undo();
    EXPECT_EQ(f.editor.History().Text(), before);
    EXPECT_EQ(f.sheet.Elements.Count(), 6);

    f.sheet.Elements[3]->SetSelected(true); // the constant
    f.editor.Duplicate();
    ASSERT_EQ(f.sheet.Elements.Count(), 7);
    EXPECT_EQ(f.sheet.Elements[6]->ClassName(), "TConst");
    EXPECT_EQ(f.sheet.SelectedElements.Items(), std::vector<TBaseElement*>{f.sheet.Elements[6]});
    EXPECT_EQ(f.editor.UndoName(), "Вставка");

    const std::size_t steps = f.editor.History().Count();
    EXPECT_FALSE(f.editor.Paste("not a schematic"));
    EXPECT_FALSE(f.editor.Paste(""));
    EXPECT_EQ(f.editor.History().Count(), steps);
    f.sheet.ClearSelection();
    EXPECT_EQ(f.editor.SelectionText(), "");
    EXPECT_TRUE(f.messages.Entries.empty());
}

} // namespace
