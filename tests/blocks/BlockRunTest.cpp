#include <gtest/gtest.h>

#include <cmath>

#include "Simulation/RandomSeed.h"
#include "Simulation/SimModel.h"
#include "blocks/TTransferFunction.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"
#include "support/BlockRuns.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"
#include "support/WireDrawing.h"

namespace {

// "graf.dat" keeps four decimals.
constexpr double Printed = 5e-5;

void Link(TBaseElement* from, TBaseElement* to, int input = 0) {
    to->FInputs[std::size_t(input)]->SetSource(from->FOutputs[0]);
}

void Settings(Schematic& sheet, double T, double h, double GS) {
    sheet.RunSettings.T = T;
    sheet.RunSettings.h = h;
    sheet.RunSettings.GS = GS;
}

TEST(BlockRun, StepThroughFirstOrderLagFollowsTheExponential) {
    Schematic sheet;
    TBaseElement* step = PlaceElement(sheet, "TStep", 20, 20);
    TBaseElement* lag = PlaceElement(sheet, "TTransferFunction", 120, 20);
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 240, 20);
    Link(step, lag);
    Link(lag, plot);
    const double h = 1e-4;
    Settings(sheet, 5, h, 0.05);
    TempDir dir;
    const auto rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 100u);
    // Explicit Euler gives 1 − (1 − h)^(k+1) for the sample at t = k·h (the
    // sample shows the state already advanced by the step): at most h away
    // from 1 − e^(−t).
    for (const GrafRow& r : rows)
        EXPECT_NEAR(r.Consumers[0], 1 - std::exp(-r.Time), h + Printed) << r.Time;
    EXPECT_NEAR(RowAt(rows, 1.0).Consumers[0], 0.6321, h + Printed);
}

TEST(BlockRun, SecondOrderStepResponseWithInitialStateAndDirectPath) {
    // (s² + 3s + 2 + 1)/(s² + 3s + 2) = 1 + 1/((s+1)(s+2)): the direct path
    // gives 1 at once, the rest 1/2 − e^(−t) + e^(−2t)/2.
    Schematic sheet;
    TBaseElement* step = PlaceElement(sheet, "TStep", 20, 20);
    auto* tf = static_cast<TTransferFunction*>(PlaceElement(sheet, "TTransferFunction", 120, 20));
    ASSERT_TRUE(tf->SetCoefficients(1, {{1, 3, 3}, {1, 3, 2}, {}}));
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 240, 20);
    Link(step, tf);
    Link(tf, plot);
    Settings(sheet, 4, 1e-4, 0.1);
    TempDir dir;
    const auto rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 40u);
    for (const GrafRow& r : rows) {
        const double t = r.Time;
        EXPECT_NEAR(r.Consumers[0], 1 + 0.5 - std::exp(-t) + 0.5 * std::exp(-2 * t), 3e-4) << t;
    }
}

TEST(BlockRun, IntegratorHoldsItsInitialConditionAndIntegrates) {
    Schematic sheet;
    TBaseElement* held = PlaceElement(sheet, "TIntegrator", 20, 20);
    held->FindParam("IC")->Value = 3;
    TBaseElement* constant = PlaceElement(sheet, "TConst", 20, 120);
    constant->FindParam("K")->Value = 2;
    TBaseElement* ramp = PlaceElement(sheet, "TIntegrator", 120, 120);
    ramp->FindParam("IC")->Value = -1;
    Link(constant, ramp);
    TBaseElement* plotHeld = PlaceElement(sheet, "TPlotter", 240, 20);
    TBaseElement* plotRamp = PlaceElement(sheet, "TPlotter", 240, 120);
    Link(held, plotHeld);
    Link(ramp, plotRamp);
    Settings(sheet, 1, 1e-3, 0.1);
    TempDir dir;
    const auto rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 10u);
    for (const GrafRow& r : rows) {
        EXPECT_NEAR(r.Consumers[0], 3.0, Printed) << r.Time;
        // Euler integrates a constant exactly; the sample is one step ahead.
        EXPECT_NEAR(r.Consumers[1], -1 + 2 * (r.Time + 1e-3), Printed) << r.Time;
    }
}

TEST(BlockRun, GainDoublesASine) {
    Schematic sheet;
    TBaseElement* sine = PlaceElement(sheet, "TSinusoid", 20, 20);
    TBaseElement* gain = PlaceElement(sheet, "TGain", 120, 20);
    gain->FindParam("K")->Value = 2;
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 240, 20);
    TBaseElement* display = PlaceElement(sheet, "TDisplay", 240, 120);
    Link(sine, gain);
    Link(gain, plot);
    Link(sine, display);
    Settings(sheet, 1, 1e-3, 0.01);
    TempDir dir;
    const auto rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 100u);
    for (const GrafRow& r : rows) {
        const double s = std::sin(2 * std::acos(-1.0) * r.Time);
        EXPECT_NEAR(r.Consumers[0], 2 * s, Printed) << r.Time;
        EXPECT_NEAR(r.Consumers[1], s, Printed) << r.Time;
    }
}

TEST(BlockRun, SynchronisedRampRestartsOnTheRisingEdgesOfASquareWave) {
    // Rectangular pulses of period 1 s: −1 during (0, 0.5), +1 during (0.5, 1).
    Schematic sheet;
    TBaseElement* square = PlaceElement(sheet, "TGRI", 20, 20);
    square->FindParam("t1")->Value = 0.5;
    square->FindParam("L1")->Value = 0.5;
    square->FindParam("L2")->Value = 0.5;
    TBaseElement* ramp = PlaceElement(sheet, "TSyncGPN", 120, 20);
    ramp->FindParam("Kr")->Value = 2;
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 240, 20);
    Link(square, ramp);
    Link(ramp, plot);
    Settings(sheet, 2.5, 1e-3, 0.05);
    TempDir dir;
    for (int run = 0; run < 2; ++run) {
        const auto rows = RunAndRead(sheet, dir.Path().string());
        ASSERT_GE(rows.size(), 50u);
        for (const GrafRow& r : rows) {
            // The input the ramp sees is the previous step's pulse value, and
            // 0 (no crossing) at whole and half seconds.
            const double sinceEdge = r.Time < 0.5 ? r.Time : std::fmod(r.Time - 0.5, 1.0);
            if (std::fabs(sinceEdge) < 2.5e-3 || std::fabs(sinceEdge - 1) < 2.5e-3) continue;
            EXPECT_NEAR(r.Consumers[0], 2 * sinceEdge, 5e-3) << "run " << run << " t " << r.Time;
        }
    }
}

TEST(BlockRun, RandomLevelsRepeatWithAFixedSeed) {
    SetFixedRandomSeed(7u);
    Schematic sheet;
    TBaseElement* random = PlaceElement(sheet, "TGPSP", 20, 20);
    random->FindParam("min")->Value = -1;
    random->FindParam("T1")->Value = 50;
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 240, 20);
    Link(random, plot);
    Settings(sheet, 1, 1e-3, 0.01);
    TempDir a, b;
    const auto first = RunAndRead(sheet, a.Path().string());
    Schematic copy;
    TBaseElement* random2 = PlaceElement(copy, "TGPSP", 20, 20);
    random2->FindParam("min")->Value = -1;
    random2->FindParam("T1")->Value = 50;
    Link(random2, PlaceElement(copy, "TPlotter", 240, 20));
    Settings(copy, 1, 1e-3, 0.01);
    const auto second = RunAndRead(copy, b.Path().string());
    SetFixedRandomSeed(std::nullopt);
    ASSERT_GE(first.size(), 100u);
    ASSERT_EQ(second.size(), first.size());
    int changes = 0;
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].Consumers, second[i].Consumers) << first[i].Time;
        if (i > 0 && first[i].Consumers[0] != first[i - 1].Consumers[0]) ++changes;
        // Held for 50 ms: samples 10 ms apart in one period agree.
        if (i % 5 != 0) {
            EXPECT_EQ(first[i].Consumers[0], first[i - 1].Consumers[0]) << first[i].Time;
        }
    }
    EXPECT_GE(changes, 15);
}

TEST(BlockRun, ControlledVoltageWithoutLoadGivesItsInput) {
    Schematic sheet;
    TBaseElement* constant = PlaceElement(sheet, "TConst", 20, 100);
    constant->FindParam("K")->Value = 5;
    TBaseElement* source = PlaceElement(sheet, "TControlledVoltage", 120, 80);
    TBaseElement* sensor = PlaceElement(sheet, "TVoltageSummator", 260, 80);
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 360, 80);
    Link(constant, source);
    DragWire(source->FindConnector("Plus"), sensor->FindConnector("Plus")->GetLink());
    DragWire(source->FindConnector("Minus"), sensor->FindConnector("Minus")->GetLink());
    ASSERT_TRUE(sensor->FindConnector("Plus")->IsConnected());
    ASSERT_TRUE(sensor->FindConnector("Minus")->IsConnected());
    Link(sensor, plot);
    Settings(sheet, 0.1, 1e-4, 0.01);
    TempDir dir;
    const auto rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 10u);
    for (const GrafRow& r : rows)
        EXPECT_NEAR(r.Consumers[0], 5.0, Printed) << r.Time;
}

TEST(BlockRun, SinusoidalSourceOpenCircuitFollowsItsEmf) {
    Schematic sheet;
    TBaseElement* source = PlaceElement(sheet, "TVoltageSin", 100, 80);
    TBaseElement* sensor = PlaceElement(sheet, "TVoltageSummator", 260, 80);
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 360, 80);
    DragWire(source->FindConnector("Plus"), sensor->FindConnector("Plus")->GetLink());
    DragWire(source->FindConnector("Minus"), sensor->FindConnector("Minus")->GetLink());
    Link(sensor, plot);
    Settings(sheet, 0.04, 1e-5, 0.0025);
    TempDir dir;
    for (int run = 0; run < 2; ++run) {
        const auto rows = RunAndRead(sheet, dir.Path().string());
        ASSERT_GE(rows.size(), 16u);
        for (const GrafRow& r : rows)
            EXPECT_NEAR(r.Consumers[0], 220 * std::sin(100 * std::acos(-1.0) * r.Time), 2e-3)
                << r.Time;
        // The sample lands on the first step at or after 5 ms, up to one step
        // late: 220·(1 − cos(100π·h)) ≈ 1.1e-3 below the peak.
        EXPECT_NEAR(RowAt(rows, 0.005).Consumers[0], 220.0, 2e-3);
    }
}

TEST(BlockRun, ParametersARunCannotUseStopItBeforeItStarts) {
    RecordingMessages messages;
    Schematic sheet;
    PlaceElement(sheet, "TControlledVoltage", 100, 80)->FindParam("Rвн")->Value = 0;
    PlaceElement(sheet, "TTreu", 20, 20)->FindParam("w")->Value = 0;
    TempDir dir;
    EXPECT_TRUE(RunAndRead(sheet, dir.Path().string()).empty());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{
                  "Компонент ControlledVoltage №0: параметр Rвн должен быть больше нуля.",
                  "Компонент Treu №1: параметр w должен быть больше нуля."}));
}

TEST(BlockRun, ConsumersRecordInCreationOrderAndCloseUpWhenOneGoes) {
    Schematic sheet;
    TBaseElement* sine = PlaceElement(sheet, "TSinusoid", 20, 20);
    TBaseElement* step = PlaceElement(sheet, "TStep", 20, 120);
    step->FindParam("h")->Value = 4;
    TBaseElement* first = PlaceElement(sheet, "TPlotter", 240, 20);
    TBaseElement* display = PlaceElement(sheet, "TDisplay", 240, 120);
    Link(sine, first);
    Link(step, display);
    Settings(sheet, 0.5, 1e-3, 0.125);
    TempDir dir;
    auto rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 4u);
    EXPECT_NEAR(RowAt(rows, 0.25).Consumers[0], 1.0, 1e-3);
    EXPECT_EQ(RowAt(rows, 0.25).Consumers[1], 4.0);
    const GrafGrp grp = ReadGrafGrp(dir.File("graf.grp"));
    ASSERT_EQ(grp.Consumers, 2);
    ASSERT_EQ(grp.Values.size(), rows.size());
    EXPECT_EQ(grp.Values[2][1], 4.0f);
    EXPECT_NEAR(grp.Values[2][0], std::sin(2 * std::acos(-1.0) * grp.Times[2]), 1e-6);

    sheet.FreeElement(first);
    rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 4u);
    ASSERT_EQ(rows[0].Consumers.size(), 1u);
    EXPECT_EQ(RowAt(rows, 0.25).Consumers[0], 4.0);
}

// A ground symbol below the pin, wired to it.
void Ground(Schematic& sheet, TConnector* pin) {
    TBaseElement* ground =
        PlaceElement(sheet, "TGround", pin->GetXLink() - 20, pin->GetYLink() + 26);
    DragWire(pin, ground->FindConnector("Connector")->GetLink());
    EXPECT_TRUE(ground->FindConnector("Connector")->IsConnected());
}

TEST(BlockRun, ControlledVoltageFollowsAVoltageSensorLinkedStraightToIt) {
    Schematic sheet;
    TBaseElement* battery = PlaceElement(sheet, "TVoltageSource", 20, 86);
    battery->FindParam("E")->Value = 7;
    TBaseElement* sensor = PlaceElement(sheet, "TVoltageSummator", 100, 84);
    DragWire(battery->FindConnector("Plus"), sensor->FindConnector("Plus")->GetLink());
    TBaseElement* copy = PlaceElement(sheet, "TControlledVoltage", 200, 86);
    TBaseElement* reader = PlaceElement(sheet, "TVoltageSummator", 300, 84);
    DragWire(copy->FindConnector("Plus"), reader->FindConnector("Plus")->GetLink());
    for (TBaseElement* e : {battery, sensor, copy, reader})
        Ground(sheet, e->FindConnector("Minus"));
    Link(sensor, copy);
    Link(reader, PlaceElement(sheet, "TPlotter", 400, 84));
    Settings(sheet, 0.01, 1e-4, 0.001);
    TempDir dir;
    const auto rows = RunAndRead(sheet, dir.Path().string());
    ASSERT_GE(rows.size(), 10u);
    // No current flows in either circuit: the copy's EMF is the battery's
    // voltage, read unchanged.
    for (const GrafRow& r : rows)
        EXPECT_NEAR(r.Consumers[0], 7.0, Printed) << r.Time;
}

} // namespace
