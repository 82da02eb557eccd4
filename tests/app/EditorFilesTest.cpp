#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "EditorFixture.h"
#include "app/SchematicInfo.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "support/ExampleBuilder.h"
#include "support/TempDir.h"
#include "support/TestElements.h"
#include "support/WiringInvariants.h"

namespace {

const std::string Question = "Сохранить схему в файл ?";
const std::string OpenQuestion = std::string(17, ' ') + Question;

std::string FirstLine(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string line;
    std::getline(in, line);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

// A little of everything the file keeps: two elements wired, a signal link,
// a turned element, changed run settings.
void BuildSchematic(EditorFixture& f) {
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 300, 180);
    f.Drag(CentreOf(*a->FConnectors[1]), CentreOf(*b->FConnectors[0]));
    TBaseElement* source = f.Place("TTestSource", 100, 300);
    TBaseElement* block = f.Place("TTestBlock", 300, 300);
    f.Drag(source->FOutputs[0]->Centre(), block->FInputs[0]->Centre());
    f.Click({b->Left + 30, b->Top + 8});
    f.editor.Rotate();
    f.sheet.RunSettings.T = 2.5;
}

TEST(EditorNew, WithoutChangesClearsWithoutAsking) {
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    f.sheet.Modified = false;
    f.editor.New();
    EXPECT_TRUE(f.messages.Entries.empty());
    EXPECT_TRUE(f.sheet.Elements.Empty());
    EXPECT_FALSE(f.sheet.Modified);
    EXPECT_FALSE(f.editor.SaveEnabled());
}

TEST(EditorNew, CancelKeepsTheSchematicAndItsChanges) {
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    f.editor.New();
    ASSERT_EQ(f.messages.Entries.size(), 1u);
    EXPECT_EQ(f.messages.Entries[0].Kind, "question");
    EXPECT_EQ(f.messages.Entries[0].Text, Question);
    EXPECT_EQ(f.messages.Entries[0].Caption, "QUENTOR");
    EXPECT_EQ(f.sheet.Elements.Count(), 1);
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_TRUE(f.host.SaveDialogStarts.empty());
}

TEST(EditorNew, NoDiscardsTheChanges) {
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    f.messages.Answers = {TAnswer::No};
    f.editor.New();
    EXPECT_TRUE(f.sheet.Elements.Empty());
    EXPECT_FALSE(f.sheet.Modified);
    EXPECT_TRUE(f.host.SaveDialogStarts.empty());
}

TEST(EditorNew, YesWithACancelledSaveDialogKeepsEverythingAndAsksAgainLater) {
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    f.messages.Answers = {TAnswer::Yes};
    f.editor.New();
    EXPECT_EQ(f.host.SaveDialogStarts.size(), 1u);
    EXPECT_EQ(f.sheet.Elements.Count(), 1);
    EXPECT_TRUE(f.sheet.Modified);
    f.messages.Clear();
    f.editor.New();
    EXPECT_EQ(f.messages.Texts(), std::vector<std::string>{Question});
}

TEST(EditorNew, YesWritesTheFileThenClears) {
    TempDir dir;
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    f.messages.Answers = {TAnswer::Yes};
    f.host.SaveNames = {dir.File("kept.dvn")};
    f.editor.New();
    EXPECT_EQ(FirstLine(dir.File("kept.dvn")), "Dravon Ver 1.0");
    EXPECT_TRUE(f.sheet.Elements.Empty());
    EXPECT_FALSE(f.sheet.Modified);
    // The new schematic has no file yet.
    EXPECT_FALSE(f.editor.SaveEnabled());
    EXPECT_EQ(f.editor.FileName(), "");
}

TEST(EditorSave, SaveAsRemembersTheNameForSave) {
    TempDir dir;
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    EXPECT_FALSE(f.editor.SaveEnabled());
    f.host.SaveNames = {dir.File("a.dvn")};
    f.editor.Save(); // no name yet: Save asks like Save As
    ASSERT_EQ(f.host.SaveDialogStarts, std::vector<std::string>{""});
    EXPECT_TRUE(f.editor.SaveEnabled());
    EXPECT_EQ(f.editor.FileName(), dir.File("a.dvn"));
    EXPECT_FALSE(f.sheet.Modified);
    const auto before = std::filesystem::file_size(dir.File("a.dvn"));

    f.Place("TTestTwoPin", 300, 100);
    EXPECT_TRUE(f.sheet.Modified);
    f.editor.Save();
    EXPECT_EQ(f.host.SaveDialogStarts.size(), 1u); // no dialog this time
    EXPECT_FALSE(f.sheet.Modified);
    EXPECT_GT(std::filesystem::file_size(dir.File("a.dvn")), before);

    f.editor.SaveAs(); // the dialog starts from the remembered name; cancelled
    EXPECT_EQ(f.host.SaveDialogStarts.back(), dir.File("a.dvn"));
    EXPECT_EQ(f.editor.FileName(), dir.File("a.dvn"));
}

// Two wires drawn with the mouse onto one pin, and a third drawn from it:
// all four pins are one node on the sheet and again after Save and Open.
TEST(EditorSave, WiresDrawnToAndFromAPinThatHoldsOneStayJoinedInTheFile) {
    TempDir dir;
    EditorFixture f;
    TBaseElement* a = f.Place("TTestTwoPin", 100, 100);
    TBaseElement* b = f.Place("TTestTwoPin", 300, 180);
    TBaseElement* c = f.Place("TTestTwoPin", 300, 20);
    const TPoint held = CentreOf(*b->FConnectors[0]);
    f.Drag(CentreOf(*a->FConnectors[1]), held);
    f.Drag(CentreOf(*c->FConnectors[0]), held);
    f.Drag(CentreOf(*c->FConnectors[1]), held + TPoint{4, -6});
    f.Drag(held, {304, 320});
    auto joined = [](const Schematic& s) {
        const TElectricLine* on = s.Elements[1]->FConnectors[0]->FLink;
        int pins = 0;
        for (const TBaseElement* e : s.Elements)
            for (const TConnector* p : e->FConnectors)
                pins += p->FLink && on && p->FLink->FNode == on->FNode;
        return pins;
    };
    EXPECT_EQ(joined(f.sheet), 4);
    EXPECT_EQ(WiringFault(f.sheet), "");
    f.host.SaveNames = {dir.File("held.dvn")};
    ASSERT_TRUE(f.editor.SaveAs());
    f.host.OpenNames = {dir.File("held.dvn")};
    f.editor.Open();
    ASSERT_EQ(f.sheet.Elements.Count(), 3);
    EXPECT_EQ(joined(f.sheet), 4);
    EXPECT_EQ(WiringFault(f.sheet), "");
    EXPECT_TRUE(f.messages.Texts().empty());
}

TEST(EditorSave, ACancelledSaveAsLeavesTheSchematicModified) {
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    EXPECT_FALSE(f.editor.SaveAs());
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_FALSE(f.editor.SaveEnabled());
}

TEST(EditorSave, AFileThatCannotBeWrittenIsReportedAndKeepsTheChanges) {
    TempDir dir;
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    const std::string bad = dir.File("missing/x.dvn");
    f.host.SaveNames = {bad};
    EXPECT_FALSE(f.editor.SaveAs());
    EXPECT_EQ(f.messages.Texts(), std::vector<std::string>{"Не удалось записать файл " + bad +
                                                           ": нет такого каталога"});
    EXPECT_TRUE(f.sheet.Modified);
    EXPECT_FALSE(f.editor.SaveEnabled());
    EXPECT_EQ(f.editor.FileName(), "");
}

TEST(EditorOpen, ReopeningASavedSchematicGivesTheSameSchematic) {
    TempDir dir;
    EditorFixture f;
    BuildSchematic(f);
    const std::string before = DescribeSchematicJson(f.sheet);
    f.host.SaveNames = {dir.File("s.dvn")};
    ASSERT_TRUE(f.editor.SaveAs());

    EditorFixture g;
    g.host.OpenNames = {dir.File("s.dvn")};
    g.Place("TTestTwoPin", 700, 700);
    g.sheet.Modified = false;
    g.editor.Open();
    EXPECT_TRUE(g.messages.Entries.empty());
    EXPECT_EQ(DescribeSchematicJson(g.sheet), before);
    ASSERT_EQ(g.sheet.Elements.Count(), 4);
    EXPECT_EQ(g.sheet.Lines.Count(), 3);
    EXPECT_NE(g.sheet.Elements[3]->FInputs[0]->GetSource(), nullptr);
    EXPECT_EQ(g.sheet.Elements[1]->FAngle, 90);
    EXPECT_EQ(g.sheet.RunSettings.T, 2.5);
    EXPECT_EQ(g.editor.StatusPanels()[1], "2.5");
    EXPECT_TRUE(g.editor.SaveEnabled());
    EXPECT_EQ(g.editor.FileName(), dir.File("s.dvn"));
    EXPECT_FALSE(g.sheet.Modified);
}

TEST(EditorOpen, TheQuestionIsIndentedAndYesWithoutAFileStops) {
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    f.messages.Answers = {TAnswer::Yes};
    f.editor.Open();
    ASSERT_EQ(f.messages.Entries.size(), 1u);
    EXPECT_EQ(f.messages.Entries[0].Text, OpenQuestion);
    EXPECT_EQ(f.messages.Entries[0].Caption, "QUENTOR");
    EXPECT_EQ(f.host.OpenDialogs, 0);
    EXPECT_EQ(f.sheet.Elements.Count(), 1);
    EXPECT_TRUE(f.sheet.Modified);
}

TEST(EditorOpen, CancelStopsAndNoGoesOnToTheDialog) {
    EditorFixture f;
    f.Place("TTestTwoPin", 100, 100);
    f.messages.Answers = {TAnswer::Cancel, TAnswer::No};
    f.editor.Open();
    EXPECT_EQ(f.host.OpenDialogs, 0);
    f.editor.Open();
    EXPECT_EQ(f.host.OpenDialogs, 1);
    // The open dialog was cancelled too: the schematic stays, still unsaved.
    EXPECT_EQ(f.sheet.Elements.Count(), 1);
    EXPECT_TRUE(f.sheet.Modified);
}

TEST(EditorOpen, AFileThatIsNoSchematicLeavesAnEmptySheetWithoutAName) {
    TempDir dir;
    {
        std::ofstream(dir.File("a.dvn"))
            << "Dravon Ver 1.0\r\nLines:\r\nEOL\r\nConnections:\r\nEOC\r\nEOE\r\nEOT\r\n";
        std::ofstream(dir.File("notes.txt")) << "hello\r\n";
    }
    EditorFixture f;
    f.host.OpenNames = {dir.File("a.dvn"), dir.File("notes.txt")};
    f.editor.Open();
    ASSERT_TRUE(f.editor.SaveEnabled());
    f.Place("TTestTwoPin", 100, 100);
    f.messages.Answers = {TAnswer::No};
    f.editor.Open();
    EXPECT_EQ(
        f.messages.Texts(),
        (std::vector<std::string>{OpenQuestion, "Это не есть файл-схема для данной программы"}));
    EXPECT_TRUE(f.sheet.Elements.Empty());
    EXPECT_FALSE(f.editor.SaveEnabled());
    EXPECT_EQ(f.editor.FileName(), "");
}

TEST(EditorOpen, ATruncatedFileKeepsWhatWasReadButNotTheNameToSaveOver) {
    TempDir dir;
    const std::string path = dir.File("cut.dvn");
    std::ofstream(path)
        << "Dravon Ver 1.0\r\nLines:\r\nEOL\r\nConnections:\r\nEOC\r\nTestTwoPin:10,10,0,0,0\r\n";
    const std::string before = FileBytes(path);
    EditorFixture f;
    EXPECT_FALSE(f.editor.OpenFile(path));
    ASSERT_EQ(f.messages.Entries.size(), 1u);
    EXPECT_EQ(f.messages.Entries[0].Text.rfind("Файл оборван: нет строки \"EOE\"", 0), 0u);
    EXPECT_EQ(f.sheet.Elements.Count(), 1);
    EXPECT_FALSE(f.editor.SaveEnabled());
    EXPECT_EQ(f.editor.FileName(), "");
    EXPECT_EQ(FileBytes(path), before);
}

TEST(EditorClose, TheQuestionDecidesWhetherTheWindowMayClose) {
    TempDir dir;
    EditorFixture f;
    EXPECT_TRUE(f.editor.CanClose()); // nothing to save, nothing asked
    EXPECT_TRUE(f.messages.Entries.empty());

    f.Place("TTestTwoPin", 100, 100);
    f.messages.Answers = {TAnswer::Cancel, TAnswer::Yes, TAnswer::No};
    EXPECT_FALSE(f.editor.CanClose());
    ASSERT_EQ(f.messages.Entries.size(), 1u);
    EXPECT_EQ(f.messages.Entries[0].Text, Question);
    EXPECT_EQ(f.messages.Entries[0].Caption, "АРМ проектировщика САУ");
    EXPECT_FALSE(f.editor.CanClose()); // Yes, then the save dialog cancelled
    EXPECT_EQ(f.host.SaveDialogStarts.size(), 1u);
    EXPECT_TRUE(f.editor.CanClose()); // No
    f.messages.Answers = {TAnswer::Yes};
    f.host.SaveNames = {dir.File("last.dvn")};
    EXPECT_TRUE(f.editor.CanClose());
    EXPECT_EQ(FirstLine(dir.File("last.dvn")), "Dravon Ver 1.0");
}

} // namespace
