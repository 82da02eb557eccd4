#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>

#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
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

constexpr double Pi = 3.141592653589793;

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

void Ground(ExampleBuilder& b, TBaseElement* e, const char* pin, TPoint offset = {0, 30}) {
    const TPoint at = e->FindConnector(pin)->GetLink();
    TBaseElement* ground = b.Place("TGround", "Connector", {at.x + offset.x, at.y + offset.y});
    Wire(b, e, pin, ground, "Connector");
}

// An upright resistor whose upper pin sits at `top`, wired to the pin, the
// lower pin grounded.
TBaseElement* LoadTo(ExampleBuilder& b, TBaseElement* e, const char* pin, TPoint top, double R) {
    TBaseElement* r = b.Place("TResistor", "Connector1", top, 90);
    ExampleBuilder::Set(r, "R", R, 0);
    Wire(b, e, pin, r, "Connector1");
    Ground(b, r, "Connector2");
    return r;
}

// A sensor across a resistor, its leads dropped onto the resistor's wires,
// its output plotted.
void PlotAcross(Schematic& sheet, ExampleBuilder& b, TBaseElement* r, int left, int top) {
    TBaseElement* sensor = b.PlaceBox("TVoltageSummator", left, top);
    CircuitBuilder c(sheet);
    c.WireToNode(sensor->FindConnector("Plus"), r->FindConnector("Connector1"));
    c.WireToNode(sensor->FindConnector("Minus"), r->FindConnector("Connector2"));
    EXPECT_TRUE(SameNode(sensor, "Plus", r, "Connector1"));
    EXPECT_TRUE(SameNode(sensor, "Minus", r, "Connector2"));
    b.Link(sensor, b.PlaceBox("TPlotter", left + 80, top + 10));
}

void Settings(Schematic& sheet, double T, double h, double GS) {
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = GS;
}

// The resolver's default data; excitation 10 V at 400 Hz on winding a, the
// compensation winding b shorted through 1 Ω, the cosine and sine windings
// on 10 kΩ each; the angle a ramp of 2π in 0.5 s.
constexpr double ResolverU = 10, ResolverW = 2 * Pi * 400, Rb = 1, Rout = 1e4;
constexpr double RampRate = 4 * Pi, ResolverT = 0.5;

void Resolver(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* source = b.PlaceBox("TVoltageSin", 40, 120);
    ExampleBuilder::Set(source, "E", ResolverU);
    ExampleBuilder::Set(source, "w", ResolverW);
    Ground(b, source, "Minus");
    TBaseElement* rt = b.PlaceBox("TPovTr", 200, 100);
    Wire(b, source, "Plus", rt, "Connector1");
    Ground(b, rt, "Connector5", {0, 40});
    TBaseElement* ramp = b.PlaceBox("TRamp", 100, 260);
    ExampleBuilder::Set(ramp, "h", RampRate);
    b.Link(ramp, rt);
    // Each winding's other end on the ground.
    Ground(b, rt, "Connector7", {-30, 40});
    Ground(b, rt, "Connector6", {-10, 70});
    Ground(b, rt, "Connector8", {-40, 10});
    LoadTo(b, rt, "Connector3", {340, 150}, Rb);
    TBaseElement* rl = LoadTo(b, rt, "Connector2", {420, 110}, Rout);
    TBaseElement* rv = LoadTo(b, rt, "Connector4", {500, 180}, Rout);
    PlotAcross(sheet, b, rl, 560, 40);
    PlotAcross(sheet, b, rv, 560, 200);
    b.Link(ramp, b.PlaceBox("TPlotter", 200, 320));
    Settings(sheet, ResolverT, 1e-5, 2.5e-5);
}

const std::vector<ExampleGenerator> examples = {
    {"resolver.dvn", &Resolver},
};

TEST(ResolverExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

using C = std::complex<double>;

// Solves the 4×4 complex system a·x = r by elimination with pivoting.
std::array<C, 4> Solve4(std::array<std::array<C, 4>, 4> a, std::array<C, 4> r) {
    for (int p = 0; p < 4; ++p) {
        int best = p;
        for (int q = p + 1; q < 4; ++q)
            if (std::abs(a[q][p]) > std::abs(a[best][p])) best = q;
        std::swap(a[p], a[best]);
        std::swap(r[p], r[best]);
        for (int q = p + 1; q < 4; ++q) {
            const C f = a[q][p] / a[p][p];
            for (int k = p; k < 4; ++k)
                a[q][k] -= f * a[p][k];
            r[q] -= f * r[p];
        }
    }
    std::array<C, 4> x{};
    for (int q = 3; q >= 0; --q) {
        C s = r[q];
        for (int k = q + 1; k < 4; ++k)
            s -= a[q][k] * x[k];
        x[q] = s / a[q][q];
    }
    return x;
}

// The phasors of the cosine and sine windings' voltages at a standing angle
// θ, against the EMF phasor 1: windings a, b, l, v with the inductance
// matrix of the flux linkages (couplings a–l M·cos θ, a–v −M·sin θ, b–l
// M·sin θ, b–v M·cos θ) and their external circuits.
std::pair<C, C> ResolverPhasors(double theta) {
    const double Ra = 1, La = 1e-3, Rbw = 10, Lb = 1e-3, Rl = 15, Ll = 1e-3, Rv = 15, Lv = 1e-3;
    const double M = 9e-4, Rsource = 0.01;
    const double c = std::cos(theta), s = std::sin(theta);
    const double L[4][4] = {{La, 0, M * c, -M * s},
                            {0, Lb, M * s, M * c},
                            {M * c, M * s, Ll, 0},
                            {-M * s, M * c, 0, Lv}};
    const double R[4] = {Ra + Rsource, Rbw + Rb, Rl + Rout, Rv + Rout};
    std::array<std::array<C, 4>, 4> z{};
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            z[i][j] = C(i == j ? R[i] : 0.0, ResolverW * L[i][j]);
    const auto i = Solve4(z, {C(1, 0), 0, 0, 0});
    // Each output winding's voltage is its load's: u = −R·i.
    return {-Rout * i[2], -Rout * i[3]};
}

TEST(ResolverExamples, OutputEnvelopesFollowCosineAndSineOfTheAngle) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("resolver.dvn", 3);
    ASSERT_GE(rows.size(), 19999u);
    EXPECT_TRUE(messages.Entries.empty());
    const double period = 2 * Pi / ResolverW;
    const double full = ResolverU * std::abs(ResolverPhasors(0).first);
    EXPECT_NEAR(std::abs(ResolverPhasors(Pi / 2).second) * ResolverU, full, 1e-9 * full);
    int checked = 0;
    // Period by period after the first 5 ms: the peaks of the two outputs,
    // signed by their phase against the EMF, against the phasors at the
    // period's middle angle.
    for (double start = 0.005; start + period < ResolverT; start += period) {
        double peak[2] = {0, 0}, inPhase[2] = {0, 0};
        double angle = 0;
        int n = 0;
        for (const auto& row : rows) {
            if (row[0] < start || row[0] >= start + period) continue;
            const double e = std::sin(ResolverW * row[0]);
            for (int k = 0; k < 2; ++k) {
                peak[k] = std::max(peak[k], std::abs(row[1 + k]));
                inPhase[k] += row[1 + k] * e;
            }
            angle += row[3];
            ++n;
        }
        ASSERT_GT(n, 50);
        angle /= n;
        EXPECT_NEAR(angle, RampRate * (start + period / 2), 1e-3);
        const auto [pl, pv] = ResolverPhasors(angle);
        const double expected[2] = {ResolverU * std::abs(pl), ResolverU * std::abs(pv)};
        for (int k = 0; k < 2; ++k)
            EXPECT_NEAR(peak[k], expected[k], 0.02 * full) << "t = " << start << ", output " << k;
        // The EMF sin ωt is the phasor −j: the mean of u·e is half the EMF
        // times the real part of the unit phasor, so the outputs are in phase
        // with the EMF where cos θ (sin θ) is positive, opposite elsewhere.
        const double c = std::cos(angle), s = std::sin(angle);
        if (std::abs(c) > 0.2) {
            EXPECT_GT(inPhase[0] * std::real(pl), 0) << "t = " << start;
        }
        if (std::abs(s) > 0.2) {
            EXPECT_GT(inPhase[1] * std::real(pv), 0) << "t = " << start;
        }
        ++checked;
    }
    EXPECT_GT(checked, 150);
}

TEST(ResolverExamples, MatchesTheDenseLoop) {
    RecordingMessages messages;
    Schematic sheet;
    ASSERT_EQ(LoadSchematic(sheet, ExamplePath("resolver.dvn")), TLoadResult::Loaded);
    sheet.RunSettings.T = 0.003;
    CompareWithOracle(sheet, "resolver.dvn");
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
