#include <gtest/gtest.h>

#include <cmath>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

constexpr double Amplitude = 10.0;                   // V
constexpr double Omega = 2 * 3.141592653589793 * 50; // rad/s
constexpr double Rsource = 0.01, Rload = 100.0, Csmooth = 100e-6;

// The piecewise-linear diode with the model rows of its table, written from
// its characteristic: v/Rr in reverse, v/Rl up to the knee (0.728 V, 0.1 A),
// then 0.1 A + (v − 0.728)/Rf.
struct PwlDiode {
    double Uo = 0.728, Io = 0.1, Rf = (1 - 0.728) / (10 - 0.1), Rl = 0.728 / 0.1, Rr = 200 / 1e-5;
    double I(double v) const { return v >= Uo ? Io + (v - Uo) / Rf : v >= 0 ? v / Rl : v / Rr; }
    double G(double v) const { return v >= Uo ? 1 / Rf : v >= 0 ? 1 / Rl : 1 / Rr; }
};

TBaseElement* HandModelDiode(ExampleBuilder& b, const char* pin, TPoint at, int angle) {
    TBaseElement* d = b.Place("TDiode", pin, at, angle);
    d->AutoModel = false;
    d->ResetParams();
    return d;
}

TPoint PinAt(TBaseElement* e, const char* pin) {
    return e->FindConnector(pin)->GetLink();
}

void SineSource(TBaseElement* vs) {
    ExampleBuilder::Set(vs, "E", Amplitude);
    ExampleBuilder::Set(vs, "w", Omega);
}

void RunSettings(Schematic& sheet) {
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.04;
    m.h = 1e-5;
    m.GS = 1e-4;
}

// 10 V, 50 Hz through a diode into 100 Ω; a voltage sensor across the load
// feeds a plotter.
void BuildHalfWave(Schematic& sheet) {
    ExampleBuilder b(sheet);
    RunSettings(sheet);
    auto* vs = b.Place("TVoltageSin", "Plus", {100, 100});
    SineSource(vs);
    auto* g1 = b.Place("TGround", "Connector", {100, 220});
    auto* d = HandModelDiode(b, "Anode", {160, 100}, 0);
    auto* r = b.Place("TResistor", "Connector1", {300, 130}, 90);
    ExampleBuilder::Set(r, "R", Rload, 0);
    auto* g2 = b.Place("TGround", "Connector", {300, PinAt(r, "Connector2").y + 40});
    auto* sensor = b.Place("TVoltageSummator", "Plus", {400, 100});
    auto* g3 = b.Place("TGround", "Connector", {400, 220});
    auto* plot = b.PlaceBox("TPlotter", 460, 80);
    b.Drag(vs, "Plus", PinAt(d, "Anode"));
    b.Drag(d, "Cathode", PinAt(sensor, "Plus"));
    b.Drag(r, "Connector1", {300, 100});
    b.Drag(r, "Connector2", PinAt(g2, "Connector"));
    b.Drag(vs, "Minus", PinAt(g1, "Connector"));
    b.Drag(sensor, "Minus", PinAt(g3, "Connector"));
    b.Link(sensor, plot);
}

// The same source into a diode bridge loaded by 100 Ω and 100 µF in
// parallel; the sensor across the load feeds a plotter. Two columns of
// diodes point up to the positive rail at the top; their bottoms sit on the
// grounded rail; the source feeds the wires between each column's diodes.
void BuildBridge(Schematic& sheet) {
    ExampleBuilder b(sheet);
    RunSettings(sheet);
    const int top = 100, bottom = 360;
    auto* d1 = HandModelDiode(b, "Cathode", {260, top}, 270);
    auto* d3 = HandModelDiode(b, "Anode", {260, bottom}, 270);
    auto* d2 = HandModelDiode(b, "Cathode", {380, top + 48}, 270);
    auto* d4 = HandModelDiode(b, "Anode", {380, bottom - 20}, 270);
    auto* vs = b.Place("TVoltageSin", "Plus", {320, 196});
    SineSource(vs);
    auto* r = b.Place("TResistor", "Connector1", {480, top + 30}, 90);
    auto* c = b.Place("TCapacitor", "Connector1", {560, top + 30}, 90);
    ExampleBuilder::Set(r, "R", Rload, 0);
    ExampleBuilder::Set(c, "C", Csmooth, 2);
    auto* sensor = b.Place("TVoltageSummator", "Plus", {660, top});
    auto* g = b.Place("TGround", "Connector", {700, bottom});
    auto* plot = b.PlaceBox("TPlotter", 720, 80);

    b.Drag(d1, "Anode", PinAt(d3, "Cathode"));
    b.Drag(d2, "Anode", PinAt(d4, "Cathode"));
    b.Drag(d1, "Cathode", PinAt(sensor, "Plus"));
    b.Drag(d3, "Anode", PinAt(g, "Connector"));
    for (TBaseElement* e : {d2, r, c, d4, sensor}) {
        const char* pin = e == d2       ? "Cathode"
                          : e == d4     ? "Anode"
                          : e == sensor ? "Minus"
                                        : "Connector1";
        const TPoint at = PinAt(e, pin);
        b.Drag(e, pin, {at.x, e == d4 || e == sensor ? bottom : top});
    }
    for (TBaseElement* e : {r, c})
        b.Drag(e, "Connector2", {PinAt(e, "Connector2").x, bottom});
    b.Drag(vs, "Plus", {260, PinAt(vs, "Plus").y});
    b.Drag(vs, "Minus", {380, PinAt(vs, "Minus").y});
    b.Link(sensor, plot);
}

const std::vector<ExampleGenerator> examples = {
    {"half_wave_rectifier.dvn", &BuildHalfWave},
    {"bridge_rectifier.dvn", &BuildBridge},
};

TEST(RectifierExamples, GeneratorsReproduceTheCommittedFiles) { ExpectGeneratorsReproduce(examples); }

// Time and plotted load voltage of every sample of an example's run.
std::vector<std::pair<double, double>> RunLoadVoltage(const char* file) {
    Schematic sheet;
    TempDir dir;
    EXPECT_EQ(LoadSchematic(sheet, ExamplePath(file)), TLoadResult::Loaded);
    TRunContext context(sheet, dir.Path().string());
    EXPECT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.MaxIterations = 200;
    const TRunResult r = RunSimulation(context, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
    std::vector<std::pair<double, double>> out;
    for (const auto& row : ReadGrafDat(dir.File("graf.dat")))
        out.emplace_back(row.front(), row.back());
    return out;
}

// The half-wave rectifier has no memory: at each instant the source EMF
// equals the drops on the source, the diode and the load. Solved by bisection
// on the diode voltage.
double HalfWaveLoadVoltage(double t) {
    const PwlDiode d;
    const double e = Amplitude * std::sin(Omega * t);
    auto mismatch = [&](double v) { return v + d.I(v) * (Rsource + Rload) - e; };
    double lo = -std::abs(e) - 1, hi = std::abs(e) + 1;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (lo + hi);
        (mismatch(mid) > 0 ? hi : lo) = mid;
    }
    return d.I(0.5 * (lo + hi)) * Rload;
}

TEST(RectifierExamples, HalfWaveFollowsTheDiodeCharacteristic) {
    RecordingMessages messages;
    const auto samples = RunLoadVoltage("half_wave_rectifier.dvn");
    ASSERT_EQ(samples.size(), 400u);
    double peak = 0;
    for (const auto& [t, u] : samples) {
        // graf.dat keeps four decimals.
        EXPECT_NEAR(u, HalfWaveLoadVoltage(t), 2e-4) << "t = " << t;
        peak = std::max(peak, u);
    }
    // At the peak the diode is still below its knee (0.093 A < 0.1 A): it
    // acts as Rl = 7.28 Ω in series with the load.
    EXPECT_NEAR(peak, 10 * Rload / (Rload + 7.28 + Rsource), 2e-4);
}

// The bridge by backward Euler and Newton's method from its node equations,
// with the same step as the run: unknowns the source's plus and minus nodes
// a, b and the positive rail p (the negative rail is ground); D1 a→p,
// D2 b→p, D3 ground→a, D4 ground→b.
std::vector<std::pair<double, double>> BridgeReference(double T, double h) {
    const PwlDiode d;
    std::vector<std::pair<double, double>> out;
    double a = 0, bb = 0, p = 0, pPrev = 0;
    for (long n = 0; n * h < T - 1e-12; ++n) {
        const double t = double(n) * h;
        const double e = Amplitude * std::sin(Omega * t);
        for (int it = 0; it < 100; ++it) {
            const double is = (e - (a - bb)) / Rsource;
            double F[3] = {is - d.I(a - p) + d.I(-a), -is - d.I(bb - p) + d.I(-bb),
                           d.I(a - p) + d.I(bb - p) - p / Rload - Csmooth * (p - pPrev) / h};
            const double gs = 1 / Rsource;
            double J[3][3] = {
                {-gs - d.G(a - p) - d.G(-a), gs, d.G(a - p)},
                {gs, -gs - d.G(bb - p) - d.G(-bb), d.G(bb - p)},
                {d.G(a - p), d.G(bb - p), -d.G(a - p) - d.G(bb - p) - 1 / Rload - Csmooth / h}};
            // Gaussian elimination of J·dx = −F.
            double x[3];
            for (int i = 0; i < 3; ++i)
                F[i] = -F[i];
            for (int col = 0; col < 3; ++col)
                for (int row = col + 1; row < 3; ++row) {
                    const double f = J[row][col] / J[col][col];
                    for (int k = col; k < 3; ++k)
                        J[row][k] -= f * J[col][k];
                    F[row] -= f * F[col];
                }
            for (int i = 2; i >= 0; --i) {
                double s = F[i];
                for (int k = i + 1; k < 3; ++k)
                    s -= J[i][k] * x[k];
                x[i] = s / J[i][i];
            }
            a += x[0];
            bb += x[1];
            p += x[2];
            if (std::abs(x[0]) + std::abs(x[1]) + std::abs(x[2]) < 1e-12) break;
        }
        pPrev = p;
        out.emplace_back(t, p);
    }
    return out;
}

TEST(RectifierExamples, BridgeWithSmoothingCapacitorMatchesAnIndependentIntegration) {
    RecordingMessages messages;
    {
        // Wired as drawn: the source's two terminals, the two rails.
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, ExamplePath("bridge_rectifier.dvn")), TLoadResult::Loaded);
        EXPECT_EQ(sheet.Nodes.Count(), 4);
    }
    const auto samples = RunLoadVoltage("bridge_rectifier.dvn");
    ASSERT_EQ(samples.size(), 400u);
    const auto reference = BridgeReference(0.04, 1e-5);
    // A sample falls on the first step at or after each multiple of GS;
    // graf.dat keeps four decimals, the run's Newton stops at 1 µA of
    // residual per node.
    for (const auto& [t, u] : samples) {
        const std::size_t step = std::size_t(std::lround(t / 1e-5));
        ASSERT_LT(step, reference.size());
        ASSERT_NEAR(reference[step].first, t, 1e-9);
        EXPECT_NEAR(u, reference[step].second, 1e-3) << "t = " << t;
    }
    // After the first period: peaks of 10 V less two diode drops, and the
    // capacitor holds the valleys well above zero (without it they would
    // reach zero every half period).
    double low = 1e9, high = 0;
    for (const auto& [t, u] : samples)
        if (t >= 0.02) {
            low = std::min(low, u);
            high = std::max(high, u);
        }
    EXPECT_GT(high, 8.0);
    EXPECT_LT(high, 9.0);
    EXPECT_GT(low, 0.3 * high);
}

} // namespace
