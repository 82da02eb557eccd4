#include <gtest/gtest.h>

#include <cmath>
#include <complex>

#include "Simulation/RunSimulation.h"
#include "app/SchematicFile.h"
#include "blocks/ExampleSchematics.h"
#include "model/Schematic.h"
#include "support/BlockRuns.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "support/WiringInvariants.h"

namespace {

// "graf.dat" keeps four decimals.
constexpr double Printed = 5e-5;
const double Pi = std::acos(-1.0);

TEST(BlockExamples, GeneratorsReproduceTheCommittedFiles) {
    RecordingMessages messages;
    TempDir dir;
    for (const ExampleSchematic& example : BlockExamples()) {
        Schematic sheet;
        example.Build(sheet);
        EXPECT_EQ(WiringFault(sheet), "") << example.File;
        const std::string path = SaveExample(sheet, dir.Path().string(), example.File);
        EXPECT_EQ(FileBytes(path), FileBytes(ExamplePath(example.File)))
            << example.File
            << " differs from its generator (set QUENTOR_REGENERATE_EXAMPLES=1 to rewrite it)";
    }
    EXPECT_TRUE(messages.Texts().empty());
}

// Loads the example and runs it with the settings it carries.
std::vector<GrafRow> RunExample(const std::string& file, TempDir& dir) {
    RecordingMessages messages;
    Schematic sheet;
    EXPECT_EQ(LoadSchematic(sheet, ExamplePath(file)), TLoadResult::Loaded) << file;
    auto rows = RunAndRead(sheet, dir.Path().string());
    EXPECT_TRUE(messages.Texts().empty()) << file;
    EXPECT_FALSE(rows.empty()) << file;
    return rows;
}

TEST(BlockExamples, StepIntoFirstOrderLag) {
    TempDir dir;
    const auto rows = RunExample("step_lag.dvn", dir);
    ASSERT_GE(rows.size(), 100u);
    // Explicit Euler with h = 1e-4: the sample at t shows 1 − (1 − h)^(t/h + 1),
    // within h of 1 − e^(−t).
    const double h = 1e-4;
    for (const GrafRow& r : rows)
        EXPECT_NEAR(r.Consumers[0], 1 - std::exp(-r.Time), h + Printed) << r.Time;
    EXPECT_NEAR(RowAt(rows, 1).Consumers[0], 1 - std::exp(-1.0), h + Printed);
    EXPECT_NEAR(rows.back().Consumers[0], 1 - std::exp(-rows.back().Time), h + Printed);
}

TEST(BlockExamples, IntegratorWithoutInputHoldsItsInitialCondition) {
    TempDir dir;
    const auto rows = RunExample("integrator_hold.dvn", dir);
    ASSERT_GE(rows.size(), 100u);
    for (const GrafRow& r : rows)
        EXPECT_EQ(r.Consumers[0], 3.0) << r.Time;
}

TEST(BlockExamples, ControlledVoltageWithoutLoadGivesItsInput) {
    TempDir dir;
    const auto rows = RunExample("controlled_voltage.dvn", dir);
    ASSERT_GE(rows.size(), 100u);
    for (const GrafRow& r : rows)
        EXPECT_NEAR(r.Consumers[0], 5.0, Printed) << r.Time;
}

TEST(BlockExamples, ControlledCurrentIntoThreeOhms) {
    TempDir dir;
    const auto rows = RunExample("controlled_current.dvn", dir);
    ASSERT_GE(rows.size(), 100u);
    for (const GrafRow& r : rows)
        EXPECT_NEAR(r.Consumers[0], 6.0, Printed) << r.Time;
}

TEST(BlockExamples, VoltageSensorReadsTheSourceBothWays) {
    TempDir dir;
    const auto rows = RunExample("voltage_sensor.dvn", dir);
    ASSERT_GE(rows.size(), 100u);
    for (const GrafRow& r : rows) {
        EXPECT_NEAR(r.Consumers[0], 10.0, Printed) << r.Time;
        EXPECT_NEAR(r.Consumers[1], -10.0, Printed) << r.Time;
    }
}

TEST(BlockExamples, SinusoidalSourceOpenCircuit) {
    TempDir dir;
    const auto rows = RunExample("sine_source.dvn", dir);
    ASSERT_GE(rows.size(), 80u);
    // Open circuit: the sensor reads the EMF itself, at the sample's time.
    for (const GrafRow& r : rows)
        EXPECT_NEAR(r.Consumers[0], 220 * std::sin(100 * Pi * r.Time), 1e-3) << r.Time;
    // The 5 ms sample falls on the first step at or after it, at most one
    // step (1e-5 s) late: 220·(1 − cos(100π·1e-5)) ≈ 1.1e-3 below the peak.
    const GrafRow& peak = RowAt(rows, 0.005);
    EXPECT_NEAR(peak.Time, 0.005, 1.01e-5);
    EXPECT_NEAR(peak.Consumers[0], 220.0, 1.2e-3);
}

// Closed loop: L di/dt + R' i = u, u = Kp e + Ki ∫e, e = r − i, so
// I/r = (Kp s + Ki) / (L s² + (R' + Kp) s + Ki), R' = R + the source's and
// the ammeter's 0.01 Ω. Step response from the two real poles.
double LoopCurrent(double t) {
    const double r = 2, L = 0.1, R = 1.02, Kp = 1, Ki = 10;
    const double a = L, b = R + Kp, c = Ki;
    const double d = std::sqrt(b * b - 4 * a * c);
    const double p[2] = {(-b + d) / (2 * a), (-b - d) / (2 * a)};
    double i = 1;
    for (int k = 0; k < 2; ++k) {
        const double other = p[1 - k];
        i += (Kp * p[k] + Ki) / (a * (p[k] - other) * p[k]) * std::exp(p[k] * t);
    }
    return r * i;
}

TEST(BlockExamples, PiCurrentLoopSettlesToTheSetPoint) {
    TempDir dir;
    const auto rows = RunExample("pi_current_loop.dvn", dir);
    ASSERT_GE(rows.size(), 100u);
    EXPECT_NEAR(LoopCurrent(0), 0.0, 1e-12);
    // The discrete loop lags the continuous one by about a step: at most
    // h·max|di/dt| = 1e-5 · Kp·r/L = 2e-4 A, plus the printing.
    for (const GrafRow& r : rows) {
        EXPECT_NEAR(r.Consumers[0], LoopCurrent(r.Time), 2e-4 + Printed) << r.Time;
        // The drive settles where it pushes 2 A through R': 2.04 V.
        if (r.Time > 0.8) {
            EXPECT_NEAR(r.Consumers[1], 2.04, 1e-3) << r.Time;
        }
    }
    EXPECT_NEAR(rows.back().Consumers[0], 2.0, 1e-3);
}

} // namespace
