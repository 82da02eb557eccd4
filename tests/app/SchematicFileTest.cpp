#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "params/ValueText.h"
#include "support/EngineTestElements.h"
#include "support/ExampleBuilder.h"
#include "support/FileSizeLimit.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace {

using Lines = std::vector<std::string>;

class SchematicFile : public ::testing::Test {
protected:
    RecordingMessages messages;
    Schematic sheet;

    TLoadResult Load(const Lines& lines) { return LoadSchematicLines(sheet, lines); }
};

TEST_F(SchematicFile, SettingsAreWrittenInOrderAndUnknownKeysSkipped) {
    TRunSettings& m = sheet.RunSettings;
    m.T = 2;
    m.h = 1e-4;
    m.GS = 0.1;
    Lines out;
    SaveRunParams(sheet, out);
    EXPECT_EQ(out, (Lines{"T=2", "h=0.0001", "pr=1E-7", "TNC=1E-6", "GS=0.1"}));

    Schematic other;
    const Lines in{"T=2", "x=5", "GS=0.1", "Lines:"};
    EXPECT_EQ(LoadRunParams(other, in, 0), 3);
    EXPECT_EQ(other.RunSettings.T, 2);
    EXPECT_EQ(other.RunSettings.GS, 0.1);
    EXPECT_EQ(other.RunSettings.h, 1e-5);
}

TEST_F(SchematicFile, WrongSignatureLeavesTheSchematicEmpty) {
    EXPECT_EQ(Load({"Dravon Ver 2.0", "T=1", "Lines:", "EOL"}), TLoadResult::NotASchematic);
    EXPECT_EQ(messages.Texts(), (Lines{"Это не есть файл-схема для данной программы"}));
    EXPECT_TRUE(sheet.Elements.Empty());
    EXPECT_EQ(Load({}), TLoadResult::NotASchematic);
}

TEST_F(SchematicFile, MisplacedSectionsAreReportedAndReadingGoesOn) {
    // The segment section's header is wrong: the joints follow at the next line.
    EXPECT_EQ(Load({"Dravon Ver 1.0", "T=1", "Segments:", "Connections:", "EOC",
                    "Resistor:10,20,0,0,0", "EOE", "", "EOT"}),
              TLoadResult::Loaded);
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text, "Ошибка загрузки линий");
    EXPECT_EQ(messages.Entries[0].Caption, "Ошибка");
    EXPECT_EQ(sheet.Elements.Count(), 1);

    Schematic other;
    messages.Clear();
    EXPECT_EQ(LoadSchematicLines(other, {"Dravon Ver 1.0", "Lines:", "EOL",
                                         "Joints:", "Resistor:10,20,0,0,0", "EOE", "", "EOT"}),
              TLoadResult::Loaded);
    EXPECT_EQ(messages.Texts(), (Lines{"Ошибка загрузки соединений"}));
    EXPECT_EQ(other.Elements.Count(), 1);
}

TEST_F(SchematicFile, UnknownClassIsReportedAndPinLinesStayMatched) {
    // Record 1 cannot be created; record 2's input names record 0 by its
    // file number, and pin line 2 belongs to record 2.
    const Lines lines{"Dravon Ver 1.0",
                      "Lines:",
                      "EOL",
                      "Connections:",
                      "EOC",
                      "TestConst:10,10,0,0,0",
                      "Bogus:50,50,0,0,0",
                      " K=3",
                      "TestProbe:100,10,0,0,0",
                      "EOE",
                      "",
                      "",
                      "0",
                      "EOT"};
    EXPECT_EQ(Load(lines), TLoadResult::Loaded);
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text, "Ошибка создания элемента TBogus:\nClass TBogus not found");
    ASSERT_EQ(sheet.Elements.Count(), 2);
    EXPECT_EQ(sheet.Elements[1]->FInputs[0]->GetSource(), sheet.Elements[0]->FOutputs[0]);
}

TEST_F(SchematicFile, SeveralOutputsAreAlwaysNumberedOneOutputNever) {
    ExampleBuilder b(sheet);
    auto* two = b.PlaceBox("TTestTwoOutputs", 10, 10);
    auto* one = b.PlaceBox("TTestConst", 10, 100);
    auto* p1 = b.PlaceBox("TTestProbe", 200, 10);
    auto* p2 = b.PlaceBox("TTestProbe", 200, 100);
    auto* p3 = b.PlaceBox("TTestProbe", 200, 200);
    p1->FInputs[0]->SetSource(two->FOutputs[0]);
    p2->FInputs[0]->SetSource(two->FOutputs[1]);
    p3->FInputs[0]->SetSource(one->FOutputs[0]);
    const Lines lines = SchematicToLines(sheet);
    const Lines pins(lines.end() - 6, lines.end() - 1);
    EXPECT_EQ(pins, (Lines{"", "", "0:0", "0:1", "1"}));

    Schematic back;
    ASSERT_EQ(LoadSchematicLines(back, lines), TLoadResult::Loaded);
    EXPECT_EQ(back.Elements[3]->FInputs[0]->GetSource(), back.Elements[0]->FOutputs[1]);
    EXPECT_EQ(back.Elements[4]->FInputs[0]->GetSource(), back.Elements[1]->FOutputs[0]);
    EXPECT_EQ(SchematicToLines(back), lines);
}

TEST_F(SchematicFile, ElementsWithDatabaseWriteNoValuesUnlessEnteredByHand) {
    TempDir db;
    ScopedEnv env("QUENTOR_DB_DIR", db.Path().string());
    ExampleBuilder b(sheet);
    auto* amp = b.PlaceBox("TAmper", 10, 10);
    amp->FindParam("r")->Value = 0.5;
    Lines lines = SchematicToLines(sheet);
    const auto header = std::find(lines.begin(), lines.end(), "EOC") + 1;
    EXPECT_EQ(*header, "Amper:10,10,0,0,0(0,)");
    EXPECT_EQ(*(header + 1), "EOE");
    amp->ManualRefs = true;
    lines = SchematicToLines(sheet);
    EXPECT_EQ(*(std::find(lines.begin(), lines.end(), "EOC") + 2), " r=0.5,0");
}

TEST_F(SchematicFile, WiresJointsAndTapsSurviveARoundTrip) {
    ExampleBuilder b(sheet);
    auto* vs = b.Place("TVoltageSource", "Plus", {120, 100});
    auto* r = b.Place("TResistor", "Connector1", {200, 100});
    auto* c = b.Place("TCapacitor", "Connector1", {160, 130}, 90);
    b.Drag(vs, "Plus", r->FindConnector("Connector1")->GetLink());
    b.Drag(c, "Connector1", {160, 104}); // a tap onto the first wire
    b.Drag(r, "Connector2", {300, 160}); // three segments, free end
    const Lines lines = SchematicToLines(sheet);
    Schematic back;
    ASSERT_EQ(LoadSchematicLines(back, lines), TLoadResult::Loaded);
    EXPECT_EQ(SchematicToLines(back), lines);
    ASSERT_EQ(back.Lines.Count(), sheet.Lines.Count());
    EXPECT_EQ(back.Nodes.Count(), sheet.Nodes.Count());
    for (int i = 0; i < back.Lines.Count(); ++i) {
        EXPECT_EQ(back.Lines[i]->BoundsRect(), sheet.Lines[i]->BoundsRect());
        EXPECT_EQ(back.Lines[i]->FTaps.size(), sheet.Lines[i]->FTaps.size());
    }
    auto node = [](const Schematic& s, int e, const char* pin) {
        return s.Elements[e]->FindConnector(pin)->GetNodeID();
    };
    EXPECT_EQ(node(back, 0, "Plus"), node(back, 2, "Connector1"));
    EXPECT_EQ(node(back, 1, "Connector1"), node(back, 0, "Plus"));
    EXPECT_NE(node(back, 1, "Connector2"), node(back, 0, "Plus"));
    EXPECT_EQ(back.Elements[2]->FAngle, 90);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(SchematicFile, TapsAtAHeldEndAndJointsOfAZeroLengthSegmentSurviveARoundTrip) {
    // Segment 0 runs down from (248,454); segment 1 has zero length there and
    // joins segment 0's start with its own start; segment 2 starts there too,
    // as a tap on segment 0, whose record does not name it.
    const Lines lines{"Dravon Ver 1.0",
                      "T=1",
                      "h=0.001",
                      "pr=1E-7",
                      "TNC=1E-6",
                      "GS=0.01",
                      "Lines:",
                      "246,454,1,174",
                      "248,452,0,0",
                      "248,452,0,229",
                      "EOL",
                      "Connections:",
                      "0,2,0",
                      "1,1,0",
                      "2,1,0",
                      "EOC",
                      "EOE",
                      "EOT"};
    ASSERT_EQ(Load(lines), TLoadResult::Loaded);
    EXPECT_EQ(SchematicToLines(sheet), lines);
    const TElectricLine* down = sheet.Lines[0];
    const TElectricLine* dot = sheet.Lines[1];
    const TElectricLine* across = sheet.Lines[2];
    EXPECT_EQ(dot->FStartLink.Line, down);
    EXPECT_EQ(dot->FEndLink.Line, nullptr);
    ASSERT_EQ(down->FTaps.size(), 1u);
    EXPECT_EQ(down->FTaps[0].Control, across);
    EXPECT_EQ(down->FTaps[0].x, 248);
    EXPECT_EQ(down->FTaps[0].y, 454);
    EXPECT_EQ(across->FNode, down->FNode);
    EXPECT_EQ(sheet.Nodes.Count(), 1);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(SchematicFile, AnElementMirroredThenTurnedReadsBackWithItsPinsInPlace) {
    // Turned then mirrored, or mirrored then turned: the file keeps only the
    // angle and the mirrors, so the pins must not depend on the order.
    ExampleBuilder b(sheet);
    TBaseElement* first = b.Place("TBattery", "Plus", {200, 200});
    TBaseElement* second = b.Place("TBattery", "Plus", {200, 400});
    first->SetAngle(90);
    first->SetYFlip(true);
    second->SetYFlip(true);
    second->SetXFlip(true);
    second->SetAngle(90);
    second->SetAngle(180);
    second->SetXFlip(false);
    second->SetAngle(270);
    second->SetAngle(90);
    ASSERT_EQ(second->FConnectors.size(), first->FConnectors.size());
    for (std::size_t k = 0; k < first->FConnectors.size(); ++k) {
        // Boxes in element coordinates.
        EXPECT_EQ(first->FConnectors[k]->BoundsRect(), second->FConnectors[k]->BoundsRect()) << k;
    }
    b.Drag(second, "Plus", {100, 500});
    b.Drag(second, "Minus", {400, 500});
    const Lines lines = SchematicToLines(sheet);
    Schematic back;
    ASSERT_EQ(LoadSchematicLines(back, lines), TLoadResult::Loaded);
    EXPECT_EQ(SchematicToLines(back), lines);
    EXPECT_TRUE(back.Elements[1]->FindConnector("Plus")->IsConnected());
    EXPECT_TRUE(back.Elements[1]->FindConnector("Minus")->IsConnected());
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(SchematicFile, AFileCutBeforeItsLastSectionEndsIsRefusedNamingTheMissingLine) {
    ExampleBuilder b(sheet);
    auto* vs = b.Place("TVoltageSource", "Plus", {120, 100});
    auto* r = b.Place("TResistor", "Connector1", {200, 100});
    auto* k = b.PlaceBox("TTestConst", 10, 300);
    auto* p = b.PlaceBox("TTestProbe", 200, 300);
    b.Drag(vs, "Plus", r->FindConnector("Connector1")->GetLink());
    b.Link(k, p);
    const Lines full = SchematicToLines(sheet);
    const std::map<std::string, std::string> contents{{"EOL", "отрезки проводов"},
                                                      {"EOC", "соединения проводов"},
                                                      {"EOE", "элементы"},
                                                      {"EOT", "подключения выводов"}};
    for (std::size_t n = 1; n < full.size(); ++n) {
        Schematic part;
        messages.Clear();
        const Lines cut(full.begin(), full.begin() + long(n));
        // The first end marker the cut file lacks.
        std::string missing;
        for (const char* marker : {"EOL", "EOC", "EOE", "EOT"})
            if (missing.empty() && std::find(cut.begin(), cut.end(), marker) == cut.end())
                missing = marker;
        ASSERT_FALSE(missing.empty());
        EXPECT_EQ(LoadSchematicLines(part, cut), TLoadResult::Truncated) << n << " lines";
        EXPECT_EQ(messages.Texts(), Lines{"Файл оборван: нет строки \"" + missing +
                                          "\", которой кончаются " + contents.at(missing) +
                                          ". Прочитанное до обрыва оставлено на листе; сохранить "
                                          "его можно только под другим именем."})
            << n << " lines";
        EXPECT_LE(part.Elements.Count(), 4);
    }
    messages.Clear();
    Schematic whole;
    EXPECT_EQ(LoadSchematicLines(whole, full), TLoadResult::Loaded);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(SchematicFile, DamagedLinesAreReportedWithTheirNumbersAllInOneList) {
    const Lines damaged{"Dravon Ver 1.0",
                        "T=abc",
                        "h=0,005",
                        "GS=--5",
                        "TNC=1e-6",
                        "Lines:",
                        "10,20",
                        "5,5,1,40",
                        "EOL",
                        "Connections:",
                        "0,9,1",
                        "7,1,x",
                        "EOC",
                        "Resistor:1",
                        "Resistor:5,5,0,0,0",
                        " R=1 000,1",
                        " R=inf",
                        "EOE",
                        "",
                        "x,1",
                        "EOT"};
    EXPECT_EQ(LoadSchematicLines(sheet, damaged), TLoadResult::Loaded);
    EXPECT_EQ(messages.ProblemLists, 1);
    EXPECT_EQ(
        messages.Texts(),
        (Lines{
            "Строка 2, параметр T: \"abc\" не является числом",
            "Строка 3, параметр h: \"0,005\" не является числом",
            "Строка 4, параметр GS: \"--5\" не является числом",
            "Строка 7, отрезок 0: \"10,20\" не является записью отрезка",
            "Строка 12, \"7,1,x\" не является записью соединения",
            "Строка 14, элемент Resistor №0, поле top заголовка: нет значения",
            "Строка 16, элемент Resistor №1, параметр R: \"1 000,1\" не является числом",
            "Строка 17, элемент Resistor №1, параметр R: \"inf\" не является числом",
            "Строка 20, элемент Resistor №1, вывод Connector1: \"x\" не является номером отрезка",
            "Строка 20, элемент Resistor №1: вывод Connector2 не лежит на конце отрезка 1 и "
            "остался "
            "неподключённым"}));
    // Damaged values keep the defaults; the good ones are taken.
    const TRunSettings defaults;
    EXPECT_EQ(sheet.RunSettings.T, defaults.T);
    EXPECT_EQ(sheet.RunSettings.h, defaults.h);
    EXPECT_EQ(sheet.RunSettings.GS, defaults.GS);
    EXPECT_EQ(sheet.RunSettings.TNC, 1e-6);
    EXPECT_EQ(sheet.Lines.Count(), 2);
    ASSERT_EQ(sheet.Elements.Count(), 2);
    EXPECT_EQ(sheet.Elements[0]->Left, 1);
    EXPECT_EQ(sheet.Elements[1]->ParamOf("R"), 1000);
}

TEST_F(SchematicFile, APinOffItsSegmentsEndIsReported) {
    ExampleBuilder b(sheet);
    auto* r = b.Place("TResistor", "Connector1", {200, 100});
    b.Drag(r, "Connector2", {400, 100});
    Lines lines = SchematicToLines(sheet);
    ASSERT_EQ(sheet.Lines.Count(), 1);
    // Move the segment 50 pixels down: neither end is on the pin any more.
    const auto seg = std::find(lines.begin(), lines.end(), "Lines:") + 1;
    const std::string original = *seg;
    const auto first = seg->find(',');
    const auto second = seg->find(',', first + 1);
    const long top = std::stol(seg->substr(first + 1, second - first - 1));
    *seg = seg->substr(0, first + 1) + std::to_string(top + 50) + seg->substr(second);
    ASSERT_NE(*seg, original);
    const int pinLine = int(std::find(lines.begin(), lines.end(), "EOE") - lines.begin()) + 1;
    ASSERT_EQ(lines[std::size_t(pinLine)], ",0");
    Schematic back;
    EXPECT_EQ(LoadSchematicLines(back, lines), TLoadResult::Loaded);
    EXPECT_EQ(messages.Texts(),
              (Lines{"Строка " + std::to_string(pinLine + 1) +
                     ", элемент Resistor №0: вывод Connector2 не лежит на конце отрезка 0 и "
                     "остался неподключённым"}));
    EXPECT_FALSE(back.Elements[0]->FindConnector("Connector2")->IsConnected());
}

TEST_F(SchematicFile, ValuesAndUnassignedBytesComeBackExactly) {
    TempDir db;
    ScopedEnv env("QUENTOR_DB_DIR", db.Path().string());
    ExampleBuilder b(sheet);
    auto* r = b.PlaceBox("TResistor", 10, 10);
    auto* amp = b.PlaceBox("TAmper", 10, 100);
    const double values[] = {5999999999999001.0, 0.1 + 0.2, 1.0 / 3.0, 2 * 3.141592653589793 * 50};
    sheet.RunSettings.T = values[1];
    amp->ManualRefs = true;
    amp->DeviceType = "75\xD0\xA8\xD0\xA1\xD0\x9C-\xEF\x9E\x98"; // "75ШСМ-" and the byte 0x98
    const std::string path = db.File("v.dvn");
    for (const double v : values) {
        r->FindParam("R")->Value = v;
        ASSERT_TRUE(SaveSchematic(sheet, path));
        Schematic back;
        ASSERT_EQ(LoadSchematic(back, path), TLoadResult::Loaded);
        EXPECT_EQ(back.Elements[0]->ParamOf("R"), v) << FormatReal(v);
        EXPECT_EQ(back.RunSettings.T, values[1]);
        EXPECT_EQ(back.Elements[1]->DeviceType, amp->DeviceType);
    }
    EXPECT_NE(FileBytes(path).find("(1,75\xD8\xD1\xCC-\x98)"), std::string::npos);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST_F(SchematicFile, AThousandBadLinesMakeOneList) {
    Lines lines{"Dravon Ver 1.0", "Lines:", "EOL", "Connections:", "EOC", "Resistor:5,5,0,0,0"};
    for (int k = 0; k < 1000; ++k)
        lines.push_back(" Q" + std::to_string(k) + "=1");
    for (const char* tail : {"EOE", "", "EOT"})
        lines.push_back(tail);
    EXPECT_EQ(LoadSchematicLines(sheet, lines), TLoadResult::Loaded);
    EXPECT_EQ(messages.ProblemLists, 1);
    ASSERT_EQ(messages.Entries.size(), 1000u);
    EXPECT_EQ(messages.Entries[999].Text, "Компонент Resistor не содержит параметра Q999!");
}

TEST_F(SchematicFile, FilesAreWindows1251WithCrLf) {
    TempDir dir;
    ExampleBuilder b(sheet);
    b.Place("TVoltageSource", "Plus", {120, 100});
    const std::string path = dir.File("s.dvn");
    ASSERT_TRUE(SaveSchematic(sheet, path));
    EXPECT_FALSE(sheet.Modified);
    const std::string bytes = FileBytes(path);
    EXPECT_EQ(bytes.substr(0, 16), "Dravon Ver 1.0\r\n");
    EXPECT_NE(bytes.find(" R\xE2\xED=0.01,0\r\n"), std::string::npos); // "Rвн" in Windows-1251
    EXPECT_EQ(bytes.find('\n', 0), 15u);

    sheet.Modified = true;
    EXPECT_FALSE(SaveSchematic(sheet, dir.File("no/such/dir/s.dvn")));
    EXPECT_TRUE(sheet.Modified);
    EXPECT_EQ(messages.Entries.back().Kind, "error");
    EXPECT_EQ(LoadSchematic(sheet, dir.File("missing.dvn")), TLoadResult::Unreadable);
}

TEST_F(SchematicFile, ASaveThatFailsPartWayKeepsTheOldFileAndTellsTheUser) {
    TempDir dir;
    const std::string path = dir.File("s.dvn");
    ExampleBuilder b(sheet);
    b.Place("TResistor", "Connector1", {100, 100});
    ASSERT_TRUE(SaveSchematic(sheet, path));
    const std::string before = FileBytes(path);
    for (int i = 0; i < 300; ++i)
        b.Place("TResistor", "Connector1", {100, 200 + 40 * i});
    ASSERT_GT(SchematicToLines(sheet).size(), 600u);
    sheet.Modified = true;
    const int status = RunWithFileSizeLimit(before.size() + 100, [&] {
        RecordingMessages child;
        if (SaveSchematic(sheet, path)) return 1;
        if (!sheet.Modified) return 2;
        const Lines expected{"Не удалось записать файл " + path +
                             ": превышен допустимый размер файла"};
        return child.Texts() == expected ? 0 : 3;
    });
    EXPECT_EQ(status, 0);
    EXPECT_EQ(FileBytes(path), before);
}

} // namespace
