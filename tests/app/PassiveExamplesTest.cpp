#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/ExampleBuilder.h"
#include "support/OracleCompare.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

// RC: 12 V source, 1 kΩ, 1 µF; a voltage sensor across the capacitor feeds a
// plotter. Every ground symbol is the reference node.
void BuildRc(Schematic& sheet, bool inductance) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.005;
    m.GS = 5e-5;
    auto* vs = b.Place("TVoltageSource", "Plus", {120, 100});
    auto* g1 = b.Place("TGround", "Connector", {120, 200});
    TBaseElement* amp = nullptr;
    TBaseElement* r = nullptr;
    if (inductance) {
        // The ammeter sits in the top rail, turned on its side by its wiring.
        amp = b.Place("TAmper", "Connector1", {170, 60});
        r = b.Place("TResistor", "Connector1", {220, 100});
    } else {
        r = b.Place("TResistor", "Connector1", {200, 100});
    }
    auto* sensor = b.Place("TVoltageSummator", "Plus", {420, 100});
    auto* store = inductance ? b.Place("TInductance", "Connector1", {340, 120}, 90)
                             : b.Place("TCapacitor", "Connector1", {340, 120}, 90);
    const TPoint storeBottom = store->FindConnector("Connector2")->GetLink();
    auto* g2 = b.Place("TGround", "Connector", {340, storeBottom.y + 40});
    auto* g3 = b.Place("TGround", "Connector", {420, 200});
    auto* plot = b.PlaceBox("TPlotter", 480, 80);

    if (inductance) {
        ExampleBuilder::Set(r, "R", 10, 0);
        ExampleBuilder::Set(store, "L", 0.01, 1);
        b.Drag(vs, "Plus", amp->FindConnector("Connector1")->GetLink());
        b.Drag(amp, "Connector2", r->FindConnector("Connector1")->GetLink());
    } else {
        b.Drag(vs, "Plus", r->FindConnector("Connector1")->GetLink());
    }
    b.Drag(r, "Connector2", sensor->FindConnector("Plus")->GetLink());
    b.Drag(store, "Connector1", {340, 104});  // onto the top rail
    b.Drag(store, "Connector2", g2->FindConnector("Connector")->GetLink());
    b.Drag(vs, "Minus", g1->FindConnector("Connector")->GetLink());
    b.Drag(sensor, "Minus", g3->FindConnector("Connector")->GetLink());
    b.Link(sensor, plot);
    if (inductance) b.Link(amp, b.PlaceBox("TPlotter", 480, 160));
}

// Divider: 10 V across 1 kΩ and 2 kΩ; the sensor across the lower resistor
// feeds a display.
void BuildDivider(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.01;
    m.h = 1e-4;
    m.GS = 1e-3;
    auto* vs = b.Place("TVoltageSource", "Plus", {120, 100});
    ExampleBuilder::Set(vs, "E", 10);
    auto* g1 = b.Place("TGround", "Connector", {120, 200});
    auto* r1 = b.Place("TResistor", "Connector1", {200, 100});
    auto* r2 = b.Place("TResistor", "Connector1", {340, 120}, 90);
    ExampleBuilder::Set(r2, "R", 2000, 1);
    const TPoint r2Bottom = r2->FindConnector("Connector2")->GetLink();
    auto* g2 = b.Place("TGround", "Connector", {340, r2Bottom.y + 40});
    auto* sensor = b.Place("TVoltageSummator", "Plus", {420, 100});
    auto* g3 = b.Place("TGround", "Connector", {420, 200});
    auto* display = b.PlaceBox("TDisplay", 480, 80);
    b.Drag(vs, "Plus", r1->FindConnector("Connector1")->GetLink());
    b.Drag(r1, "Connector2", sensor->FindConnector("Plus")->GetLink());
    b.Drag(r2, "Connector1", {340, 104});
    b.Drag(r2, "Connector2", g2->FindConnector("Connector")->GetLink());
    b.Drag(vs, "Minus", g1->FindConnector("Connector")->GetLink());
    b.Drag(sensor, "Minus", g3->FindConnector("Connector")->GetLink());
    b.Link(sensor, display);
}

const std::vector<ExampleGenerator> examples = {
    {"rc.dvn", [](Schematic& s) { BuildRc(s, false); }},
    {"rl.dvn", [](Schematic& s) { BuildRc(s, true); }},
    {"divider.dvn", &BuildDivider},
};

TEST(PassiveExamples, GeneratorsReproduceTheCommittedFiles) { ExpectGeneratorsReproduce(examples); }

TEST(PassiveExamples, RcChargesTowardsTwelveVolts) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("rc.dvn", 1);
    ASSERT_GE(rows.size(), 100u);
    const double tau = (1000 + 0.01) * 1e-6;
    for (const auto& row : rows) {
        // Backward Euler lags the analytic curve by about one step; graf.dat
        // keeps four decimals.
        const double t = row[0] + 1e-5;
        EXPECT_NEAR(row[1], 12 * (1 - std::exp(-t / tau)), 0.03) << "t = " << row[0];
    }
    EXPECT_NEAR(rows[20][1], 7.6, 0.05);  // t = 1 ms
    EXPECT_NEAR(rows.back()[1], 12 * (1 - std::exp(-5.0)), 0.02);
}

TEST(PassiveExamples, RlCurrentRisesWithTheTimeConstantLOverR) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("rl.dvn", 2);
    ASSERT_GE(rows.size(), 100u);
    const double R = 10 + 0.01 + 0.01;  // load, source and shunt
    const double tau = 0.01 / R;
    for (const auto& row : rows) {
        const double t = row[0] + 1e-5;
        const double i = 12 / R * (1 - std::exp(-t / tau));
        EXPECT_NEAR(row[2], i, 0.01) << "t = " << row[0];
        // The inductance takes the rest of the source voltage.
        EXPECT_NEAR(row[1], 12 * std::exp(-t / tau), 0.1) << "t = " << row[0];
    }
}

TEST(PassiveExamples, DividerShowsTwoThirdsOfTheSource) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("divider.dvn", 1);
    ASSERT_FALSE(rows.empty());
    for (const auto& row : rows) EXPECT_NEAR(row[1], 10.0 * 2000 / 3000.01, 1e-4);
}

TEST(ExampleFiles, SaveLoadSaveGivesTheSameBytesForEveryExample) {
    RecordingMessages messages;
    TempDir dir;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QUENTOR_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".dvn") continue;
        ++count;
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, entry.path().string()), TLoadResult::Loaded) << entry.path();
        const std::string first = dir.File("first.dvn");
        ASSERT_TRUE(SaveSchematic(sheet, first));
        Schematic again;
        ASSERT_EQ(LoadSchematic(again, first), TLoadResult::Loaded);
        const std::string second = dir.File("second.dvn");
        ASSERT_TRUE(SaveSchematic(again, second));
        EXPECT_EQ(FileBytes(first), FileBytes(second)) << entry.path();
        EXPECT_EQ(FileBytes(first), FileBytes(entry.path().string())) << entry.path();
    }
    EXPECT_GE(count, 3);
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries[0].Text;
}

TEST(ExampleFiles, FastLoopMatchesTheDenseOneOnEveryExample) {
    RecordingMessages messages;
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(QUENTOR_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".dvn") continue;
        ++count;
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, entry.path().string()), TLoadResult::Loaded);
        // The first fifty steps: the dense loop is slow.
        TRunSettings& m = sheet.RunSettings;
        m.T = 50 * m.h;
        m.GS = std::min(m.GS, 5 * m.h);
        // An electronic switch's state follows the number of reads.
        bool switches = false;
        for (const TBaseElement* e : sheet.Elements) switches = switches || e->ClassName() == "TSwitch";
        CompareWithOracle(sheet, entry.path().filename().string(), {.SameIterations = !switches});
        CompareWithOracle(sheet, entry.path().filename().string() + " (sparse solver)",
                          {.SparseSolver = true, .SameIterations = !switches});
    }
    EXPECT_GE(count, 3);
}

} // namespace
