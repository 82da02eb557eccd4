#include <gtest/gtest.h>

#include <cmath>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

TPoint PinAt(TBaseElement* e, const char* pin) {
    return e->FindConnector(pin)->GetLink();
}

// An amplifier with K = 10 and its default 10 kΩ input and 100 Ω output
// fed with 1 V through an ammeter; no load. Plotted: the output voltage and
// the input current.
void BuildInvertingAmplifier(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.01;
    m.h = 1e-3;
    m.GS = 1e-3;
    auto* amp = b.Place("TAmplifier", "Uin", {300, 200});
    ExampleBuilder::Set(amp, "K", 10);
    amp->CalcModelParams();
    auto* vs = b.Place("TVoltageSource", "Plus", {160, 200});
    ExampleBuilder::Set(vs, "E", 1);
    auto* ammeter = b.Place("TAmper", "Connector1", {230, 150});
    auto* out = b.Place("TVoltageSummator", "Plus", {440, 200});
    const int ground = 320;
    auto* g1 = b.Place("TGround", "Connector", {160, ground});
    auto* g2 = b.Place("TGround", "Connector", {300, ground});
    auto* g3 = b.Place("TGround", "Connector", {PinAt(amp, "GndOut").x, ground});
    auto* g4 = b.Place("TGround", "Connector", {440, ground});
    auto* outPlot = b.PlaceBox("TPlotter", 520, 160);
    auto* currentPlot = b.PlaceBox("TPlotter", 520, 260);

    b.Drag(vs, "Plus", {160, 150});
    b.Drag(ammeter, "Connector1", {160, 150});
    b.Drag(amp, "Uin", PinAt(ammeter, "Connector2"));
    b.Drag(vs, "Minus", PinAt(g1, "Connector"));
    b.Drag(amp, "GndIn", PinAt(g2, "Connector"));
    b.Drag(amp, "GndOut", PinAt(g3, "Connector"));
    b.Drag(amp, "Uout", PinAt(out, "Plus"));
    b.Drag(out, "Minus", PinAt(g4, "Connector"));
    b.Link(out, outPlot);
    b.Link(ammeter, currentPlot);
}

const std::vector<ExampleGenerator> examples = {
    {"inverting_amplifier.dvn", &BuildInvertingAmplifier},
};

TEST(AmplifierExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

TEST(AmplifierExamples, InvertsTenfoldFromTheSecondStepAndDrawsATenthOfAMilliampere) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("inverting_amplifier.dvn", 2);
    ASSERT_EQ(rows.size(), 10u);
    // The first step's EMF comes from the potentials before any solution.
    EXPECT_NEAR(rows[0][1], 0.0, 1e-4);
    // 1 V over 10 kΩ plus the 0.01 Ω of the source and of the ammeter.
    const double input = 1.0 / (10000 + 0.02);
    for (std::size_t k = 0; k < rows.size(); ++k) {
        if (k >= 1) {
            EXPECT_NEAR(rows[k][1], -10 * input * 10000, 1e-4) << "t = " << rows[k][0];
        }
        EXPECT_NEAR(rows[k][2], input, 1e-7) << "t = " << rows[k][0];
    }
    EXPECT_TRUE(messages.Entries.empty());
}

// Two sources joined only through an element without a circuit model.
void RunAcrossUnmodelled(const char* cls, const char* pin1, const char* pin2) {
    RecordingMessages messages;
    Schematic sheet;
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 3e-3;
    m.h = 1e-3;
    m.GS = 1e-3;
    auto* part = b.Place(cls, pin1, {300, 100});
    auto* v1 = b.Place("TVoltageSource", "Plus", {150, 150});
    ExampleBuilder::Set(v1, "E", 10);
    auto* v2 = b.Place("TVoltageSource", "Plus", {500, 150});
    ExampleBuilder::Set(v2, "E", 4);
    auto* s1 = b.Place("TVoltageSummator", "Plus", {200, 150});
    auto* s2 = b.Place("TVoltageSummator", "Plus", {450, 150});
    TBaseElement* grounds[4];
    const int xs[4] = {150, 200, 450, 500};
    for (int k = 0; k < 4; ++k)
        grounds[k] = b.Place("TGround", "Connector", {xs[k], 300});
    b.Drag(v1, "Plus", {150, 100});
    b.Drag(part, pin1, {150, 100});
    b.Drag(v2, "Plus", {500, 100});
    b.Drag(part, pin2, {500, 100});
    b.Drag(s1, "Plus", {200, 100});
    b.Drag(s2, "Plus", {450, 100});
    b.Drag(v1, "Minus", PinAt(grounds[0], "Connector"));
    b.Drag(s1, "Minus", PinAt(grounds[1], "Connector"));
    b.Drag(s2, "Minus", PinAt(grounds[2], "Connector"));
    b.Drag(v2, "Minus", PinAt(grounds[3], "Connector"));
    b.Link(s1, b.PlaceBox("TPlotter", 250, 350));
    b.Link(s2, b.PlaceBox("TPlotter", 400, 350));

    TempDir dir;
    TRunContext context(sheet, dir.Path().string());
    ASSERT_TRUE(PrepareRun(context)) << cls;
    TRunOptions o;
    const TRunResult r = RunSimulation(context, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
    const auto rows = ReadGrafDat(dir.File("graf.dat"));
    ASSERT_FALSE(rows.empty());
    for (const auto& row : rows) {
        EXPECT_NEAR(row[row.size() - 2], 10.0, 1e-4) << cls;
        EXPECT_NEAR(row[row.size() - 1], 4.0, 1e-4) << cls;
    }
    ASSERT_EQ(messages.Entries.size(), 1u) << cls;
    EXPECT_EQ(messages.Entries[0].Kind, "warning");
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент " + part->Name() + " №" + std::to_string(part->ElementIndex()) +
                  ": элемент не имеет модели для расчёта и не участвует в моделировании.");
}

TEST(UnmodelledParts, OptocouplerAndCableConnectNothingAndWarnOncePerRun) {
    RunAcrossUnmodelled("TCable", "Connector1", "Connector2");
    RunAcrossUnmodelled("TOptoPair", "InAnode", "OutCatode");
}

// The power-electronics examples are drawn without stray wires: every wire
// belongs to a node that joins at least two pins.
TEST(PowerExamples, EveryWireJoinsPins) {
    RecordingMessages messages;
    for (const char* file : {"thyristor_half_wave.dvn", "thyristor_bridge_rl.dvn",
                             "common_emitter.dvn", "inverting_amplifier.dvn"}) {
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, ExamplePath(file)), TLoadResult::Loaded) << file;
        ASSERT_FALSE(sheet.Lines.Empty());
        for (const TElectricLine* line : sheet.Lines) {
            int pins = 0;
            for (const TConnector* c : sheet.ConnectorList)
                if (c->IsConnected() && c->FLink->FNode == line->FNode) ++pins;
            EXPECT_GE(pins, 2) << file << ": a wire at " << line->StartPoint().x << ","
                               << line->StartPoint().y;
        }
    }
}

} // namespace
