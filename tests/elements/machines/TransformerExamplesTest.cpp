#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "elements/machines/TransformerRig.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/CircuitBuilder.h"
#include "support/ExampleBuilder.h"
#include "support/OracleCompare.h"
#include "support/RecordingMessages.h"

namespace {

using namespace TransformerRig;

bool SameNode(TBaseElement* a, const char* pinA, TBaseElement* b, const char* pinB) {
    const TConnector* x = a->FindConnector(pinA);
    const TConnector* y = b->FindConnector(pinB);
    return x && y && x->IsConnected() && y->IsConnected() && x->FLink->FNode == y->FLink->FNode;
}

void Wire(ExampleBuilder& b, TBaseElement* from, const char* pin, TBaseElement* to,
          const char* toPin) {
    b.Drag(from, pin, to->FindConnector(toPin)->GetLink());
    EXPECT_TRUE(SameNode(from, pin, to, toPin))
        << from->Name() << "." << pin << " to " << to->Name() << "." << toPin;
}

void Ground(ExampleBuilder& b, TBaseElement* e, const char* pin, int below = 30) {
    const TPoint at = e->FindConnector(pin)->GetLink();
    TBaseElement* ground = b.Place("TGround", "Connector", {at.x, at.y + below});
    Wire(b, e, pin, ground, "Connector");
}

void Settings(Schematic& sheet, double T, double h, double GS) {
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = GS;
}

// A sensor across two wired pins of `e`, its leads dropped onto the middle
// of their wires, its output plotted.
void PlotVoltage(Schematic& sheet, ExampleBuilder& b, TBaseElement* e, const char* plus,
                 const char* minus, int left, int top) {
    TBaseElement* sensor = b.PlaceBox("TVoltageSummator", left, top);
    CircuitBuilder c(sheet);
    c.WireToNode(sensor->FindConnector("Plus"), e->FindConnector(plus));
    c.WireToNode(sensor->FindConnector("Minus"), e->FindConnector(minus));
    EXPECT_TRUE(SameNode(sensor, "Plus", e, plus));
    EXPECT_TRUE(SameNode(sensor, "Minus", e, minus));
    b.Link(sensor, b.PlaceBox("TPlotter", left + 80, top + 10));
}

// 220 V rms, 50 Hz, starting at its positive peak (phase π/2), where the
// steady magnetising current passes zero: no DC flux is left to decay.
TBaseElement* Supply(ExampleBuilder& b, double rms, int left, int top) {
    TBaseElement* source = b.PlaceBox("TVoltageSin", left, top);
    ExampleBuilder::Set(source, "E", rms * std::sqrt(2.0));
    ExampleBuilder::Set(source, "phi", Pi / 2);
    Ground(b, source, "Minus");
    return source;
}

constexpr double LoadR = 2.5, LoadT = 0.2;

// TTransformer with its default data on 220 V, 50 Hz; 2.5 Ω on the
// secondary (the nameplate's 20 V at 8 A). Plotters: the secondary
// voltage (input 1) and the primary current (input 2).
void TransformerLoad(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* source = Supply(b, 220, 40, 200);
    TBaseElement* ammeter = b.PlaceBox("TAmper", 90, 110);
    TBaseElement* tr = b.PlaceBox("TTransformer", 100, 60);
    Wire(b, source, "Plus", ammeter, "Connector1");
    Wire(b, ammeter, "Connector2", tr, "z1");
    Ground(b, tr, "z2");
    // The secondary's return through the ground.
    Ground(b, tr, "in", 60);
    TBaseElement* load = b.Place("TResistor", "Connector1", {360, 150}, 90);
    ExampleBuilder::Set(load, "R", LoadR, 0);
    Wire(b, tr, "out", load, "Connector1");
    Ground(b, load, "Connector2", 40);
    PlotVoltage(sheet, b, load, "Connector1", "Connector2", 420, 140);
    b.Link(ammeter, b.PlaceBox("TPlotter", 240, 20));
    Settings(sheet, LoadT, 1e-5, 1e-4);
}

// TTransformator with the model calculated from its default nameplate, in
// the two tests the nameplate comes from: 220 V with the secondary open
// (1 GΩ), and U1kz = 20 V with it shorted (0.1 mΩ). Plotters: the primary
// winding's voltage (input 1) and current (input 2).
void TransformatorTest(Schematic& sheet, double rms, double load) {
    ExampleBuilder b(sheet);
    TBaseElement* source = Supply(b, rms, 40, 200);
    TBaseElement* ammeter = b.PlaceBox("TAmper", 90, 110);
    TBaseElement* tr = b.PlaceBox("TTransformator", 220, 120);
    Wire(b, source, "Plus", ammeter, "Connector1");
    Wire(b, ammeter, "Connector2", tr, "z1");
    Ground(b, tr, "z2");
    Ground(b, tr, "in", 20);
    TBaseElement* r = b.Place("TResistor", "Connector1", {360, 100}, 90);
    ExampleBuilder::Set(r, "R", load, 0);
    Wire(b, tr, "out", r, "Connector1");
    Ground(b, r, "Connector2", 40);
    PlotVoltage(sheet, b, tr, "z1", "z2", 420, 200);
    b.Link(ammeter, b.PlaceBox("TPlotter", 240, 20));
    Settings(sheet, 0.2, 1e-5, 1e-4);
}

void OpenCircuit(Schematic& sheet) {
    TransformatorTest(sheet, 220, 1e9);
}

void ShortCircuit(Schematic& sheet) {
    TransformatorTest(sheet, 20, 1e-4);
}

const std::vector<ExampleGenerator> examples = {
    {"transformer_load.dvn", &TransformerLoad},
    {"transformer_open_circuit.dvn", &OpenCircuit},
    {"transformer_short_circuit.dvn", &ShortCircuit},
};

TEST(TransformerExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

// The amplitude of column `k` over the last period.
double LastPeriodPeak(const std::vector<std::vector<double>>& rows, std::size_t k, double T) {
    double peak = 0;
    for (const auto& row : rows)
        if (row[0] > T - 0.02 - 1e-9) peak = std::max(peak, std::abs(row[k]));
    return peak;
}

TEST(TransformerExamples, LoadedSecondaryFollowsThePhasorSolution) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("transformer_load.dvn", 2);
    ASSERT_GE(rows.size(), 1999u);
    EXPECT_TRUE(messages.Entries.empty());
    // The default model: r1 on both sides, ω·Lm with Lm = 220/(314·0.1).
    TCircuit c;
    c.r1 = c.r2 = 30;
    c.xm = Omega50 * 220 / (314 * 0.1);
    c.ktr = 10;
    const auto ref = c.Solve(Amplitude, LoadR);
    EXPECT_NEAR(LastPeriodPeak(rows, 1, LoadT), ref.U2, 0.01 * ref.U2);
    EXPECT_NEAR(LastPeriodPeak(rows, 2, LoadT), ref.I1, 0.01 * ref.I1);
    // Unloaded, the secondary gives U1/ktr.
    EXPECT_NEAR(c.Solve(Amplitude, 1e12).U2, Amplitude / 10, 1e-3 * Amplitude / 10);
}

// The rms current and the mean power over the last period.
std::pair<double, double> RmsAndPower(const std::vector<std::vector<double>>& rows, double T) {
    double i2 = 0, p = 0;
    int n = 0;
    for (const auto& row : rows)
        if (row[0] > T - 0.02 + 1e-9) {
            i2 += row[2] * row[2];
            p += row[1] * row[2];
            ++n;
        }
    return {std::sqrt(i2 / n), p / n};
}

TEST(TransformerExamples, OpenAndShortCircuitTestsReproduceTheNameplate) {
    RecordingMessages messages;
    // I1xx = 0.05 A, Pxx = 5 W at 220 V; I1nom = 1 A, Pkz = 5 W at U1kz = 20 V.
    const auto open = RmsAndPower(RunExampleConsumers("transformer_open_circuit.dvn", 2), 0.2);
    EXPECT_NEAR(open.first, 0.05, 0.02 * 0.05);
    EXPECT_NEAR(open.second, 5, 0.02 * 5);
    const auto shorted =
        RmsAndPower(RunExampleConsumers("transformer_short_circuit.dvn", 2), 0.2);
    EXPECT_NEAR(shorted.first, 1, 0.02);
    EXPECT_NEAR(shorted.second, 5, 0.02 * 5);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(TransformerExamples, MatchTheDenseLoop) {
    for (const char* name : {"transformer_load.dvn", "transformer_open_circuit.dvn",
                             "transformer_short_circuit.dvn"}) {
        RecordingMessages messages;
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, ExamplePath(name)), TLoadResult::Loaded);
        sheet.RunSettings.T = 0.004;
        CompareWithOracle(sheet, name);
        EXPECT_TRUE(messages.Entries.empty()) << name;
    }
}

} // namespace
