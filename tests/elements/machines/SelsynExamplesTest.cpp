#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

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

void Settings(Schematic& sheet, double T, double h, double GS) {
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = GS;
}

// Both excitation windings on one 400 Hz EMF of 40 V amplitude.
constexpr double SupplyU = 40, SupplyW = 2 * Pi * 400;
// The transmitter's angle: 2 rad/s for 0.5 s, then held at 1 rad.
constexpr double Rate = 2, RampEnd = 0.5, Held = Rate * RampEnd;

// The angle signal: a ramp less the same ramp delayed, so that it stops.
TBaseElement* RampThenHold(ExampleBuilder& b, int left, int top) {
    TBaseElement* up = b.PlaceBox("TRamp", left, top);
    ExampleBuilder::Set(up, "h", Rate);
    TBaseElement* down = b.PlaceBox("TRamp", left, top + 70);
    ExampleBuilder::Set(down, "h", -Rate);
    ExampleBuilder::Set(down, "t", RampEnd, 0);
    TBaseElement* sum = b.PlaceBox("TSummingJunction", left + 80, top + 20);
    b.Link(up, sum);
    b.Link(down, sum, 1);
    return sum;
}

// Two selsyns wired phase to phase. The phase lines are isolated from the
// excitation circuit: one of them on the ground gives their potentials a
// reference, carrying no current.
void PhaseToPhase(Schematic& sheet, ExampleBuilder& b, TBaseElement* tx, TBaseElement* rx) {
    for (const char* pin : {"Connector_a", "Connector_b", "Connector_c"})
        Wire(b, tx, pin, rx, pin);
    const TPoint at = tx->FindConnector("Connector_a")->GetLink();
    TBaseElement* ground = b.PlaceBox("TGround", at.x + 40, at.y + 60);
    CircuitBuilder(sheet).WireToNode(ground->FindConnector("Connector"),
                                     tx->FindConnector("Connector_a"));
    EXPECT_TRUE(SameNode(ground, "Connector", rx, "Connector_a"));
}

// The receiver (its default inertia) against a constant 0.5 mN·m and a
// viscous friction of 0.5 mN·m per rad/s (Mv at Wnom, LLL = 1), the sum of
// the load models: the selsyns' own damping is too weak to settle it.
constexpr double LinkLoad = 5e-4, Friction = 5e-4, LinkT = 2;

void SelsynLink(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* source = b.PlaceBox("TVoltageSin", 20, 40);
    ExampleBuilder::Set(source, "E", SupplyU);
    ExampleBuilder::Set(source, "w", SupplyW);
    Ground(b, source, "Minus");
    TBaseElement* angle = RampThenHold(b, 20, 220);
    TBaseElement* tx = b.PlaceBox("TSelsinDat", 220, 100);
    TBaseElement* rx = b.PlaceBox("TSelsinRes", 420, 100);
    b.Link(angle, tx);
    ExampleBuilder::Set(rx, "vv", 0, 6);
    rx->MethodIndex = 5;
    ExampleBuilder::Set(rx, "Mc", LinkLoad);
    ExampleBuilder::Set(rx, "Mv", Friction * rx->ParamOf("Wnom"));
    ExampleBuilder::Set(rx, "LLL", 1);
    // The load rows are model rows, kept in the file when set by hand.
    rx->AutoModel = false;
    Wire(b, source, "Plus", tx, "Connector_A2");
    CircuitBuilder c(sheet);
    c.WireToNode(rx->FindConnector("Connector_A2"), tx->FindConnector("Connector_A2"));
    EXPECT_TRUE(SameNode(rx, "Connector_A2", tx, "Connector_A2"));
    Ground(b, tx, "Connector_A1", {-20, -30});
    Ground(b, rx, "Connector_A1", {20, -30});
    PhaseToPhase(sheet, b, tx, rx);
    b.Link(angle, b.PlaceBox("TPlotter", 240, 300));
    b.Link(rx, b.PlaceBox("TPlotter", 600, 140));
    Settings(sheet, LinkT, 1e-5, 1e-4);
}

// A transmitter turned by the ramp, against a selsyn in the transformer
// mode held at 0.3 rad; its output winding on 10 kΩ, plotted.
constexpr double TransTheta2 = 0.3, OutputR = 1e4, TransT = 1.0;

void SelsynTransformer(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* source = b.PlaceBox("TVoltageSin", 20, 40);
    ExampleBuilder::Set(source, "E", SupplyU);
    ExampleBuilder::Set(source, "w", SupplyW);
    Ground(b, source, "Minus");
    TBaseElement* up = b.PlaceBox("TRamp", 20, 220);
    ExampleBuilder::Set(up, "h", 2 * Pi);
    TBaseElement* tx = b.PlaceBox("TSelsinDat", 220, 100);
    b.Link(up, tx);
    TBaseElement* st = b.PlaceBox("TSelsinResTrans", 420, 100);
    TBaseElement* hold = b.PlaceBox("TConst", 340, 260);
    ExampleBuilder::Set(hold, "K", TransTheta2);
    b.Link(hold, st);
    Wire(b, source, "Plus", tx, "Connector_A2");
    Ground(b, tx, "Connector_A1", {-20, -30});
    PhaseToPhase(sheet, b, tx, st);
    TBaseElement* r = b.Place("TResistor", "Connector1", {560, 60}, 90);
    ExampleBuilder::Set(r, "R", OutputR, 0);
    Wire(b, st, "Connector_A2", r, "Connector1");
    Ground(b, st, "Connector_A1", {20, -30});
    Ground(b, r, "Connector2", {0, 20});
    TBaseElement* sensor = b.PlaceBox("TVoltageSummator", 620, 60);
    CircuitBuilder c(sheet);
    c.WireToNode(sensor->FindConnector("Plus"), r->FindConnector("Connector1"));
    c.WireToNode(sensor->FindConnector("Minus"), r->FindConnector("Connector2"));
    b.Link(sensor, b.PlaceBox("TPlotter", 700, 70));
    b.Link(up, b.PlaceBox("TPlotter", 240, 300));
    Settings(sheet, TransT, 1e-5, 2.5e-5);
}

const std::vector<ExampleGenerator> examples = {
    {"selsyn_link.dvn", &SelsynLink},
    {"selsyn_transformer.dvn", &SelsynTransformer},
};

TEST(SelsynExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

using C = std::complex<double>;

std::vector<C> SolveN(std::vector<std::vector<C>> a, std::vector<C> r) {
    const std::size_t n = r.size();
    for (std::size_t p = 0; p < n; ++p) {
        std::size_t best = p;
        for (std::size_t q = p + 1; q < n; ++q)
            if (std::abs(a[q][p]) > std::abs(a[best][p])) best = q;
        std::swap(a[p], a[best]);
        std::swap(r[p], r[best]);
        for (std::size_t q = p + 1; q < n; ++q) {
            const C f = a[q][p] / a[p][p];
            for (std::size_t k = p; k < n; ++k)
                a[q][k] -= f * a[p][k];
            r[q] -= f * r[p];
        }
    }
    std::vector<C> x(n);
    for (std::size_t q = n; q-- > 0;) {
        C s = r[q];
        for (std::size_t k = q + 1; k < n; ++k)
            s -= a[q][k] * x[k];
        x[q] = s / a[q][q];
    }
    return x;
}

// Two selsyns with the default data standing at the coupling angles t1 and
// t2, phases wired pin to pin, the first excited by the EMF phasor E behind
// 0.01 Ω; the second's excitation on the same EMF (outputR < 0) or on a
// resistor. Unknowns: i_e1, i_e2, the phase currents i_k into the first
// selsyn's pins (the second carries −i_k), and V(star 2) − V(star 1).
struct TLinkPhasors {
    C Ie1, Ie2, I[3], Ue2;
};

TLinkPhasors LinkPhasors(double t1, double t2, C E, double outputR) {
    const double Rc = 1, Lc = 0.002, Rp = 20, Lp = 0.004, M = 0.0015, Rs = 0.01;
    const double s = 2 * Pi / 3, phi[3] = {0, s, -s};
    const C jw(0, SupplyW);
    std::vector<std::vector<C>> a(6, std::vector<C>(6, 0.0));
    std::vector<C> r(6, 0.0);
    const bool shared = outputR < 0;
    // Excitation 1: E − Rs·(i_e1 + i_e2 if shared) = (Rc + jωLc)·i_e1 + jωM·Σcos(t1+φ)·i.
    a[0][0] = Rc + jw * Lc + Rs;
    if (shared) a[0][1] = Rs;
    for (int k = 0; k < 3; ++k)
        a[0][2 + k] = jw * M * std::cos(t1 + phi[k]);
    r[0] = E;
    // Excitation 2: its voltage is the EMF's or −R·i_e2.
    a[1][1] = Rc + jw * Lc + (shared ? Rs : outputR);
    if (shared) a[1][0] = Rs;
    for (int k = 0; k < 3; ++k)
        a[1][2 + k] = -jw * M * std::cos(t2 + phi[k]);
    r[1] = shared ? E : 0.0;
    // Phase k: u_k of the first less u_k of the second equals V(n2) − V(n1).
    for (int k = 0; k < 3; ++k) {
        a[2 + k][0] = jw * M * std::cos(t1 + phi[k]);
        a[2 + k][1] = -jw * M * std::cos(t2 + phi[k]);
        for (int j = 0; j < 3; ++j) {
            const C z = j == k ? C(Rp, 0) + jw * Lp : jw * (M * std::cos(s));
            a[2 + k][2 + j] = 2.0 * z;
        }
        a[2 + k][5] = -1.0;
    }
    // The phase currents add up to zero at each star point.
    for (int k = 0; k < 3; ++k)
        a[5][2 + k] = 1.0;
    const auto x = SolveN(a, r);
    TLinkPhasors p;
    p.Ie1 = x[0];
    p.Ie2 = x[1];
    for (int k = 0; k < 3; ++k)
        p.I[k] = x[2 + k];
    p.Ue2 = shared ? E : -outputR * x[1];
    return p;
}

// The mean torque on the second selsyn at the angles t1, t2: the mean of
// −M·i_e·Σ sin(θ + φ_k)·i_k with its own currents (−i_k).
double MeanReceiverTorque(double t1, double t2) {
    const double M = 0.0015, s = 2 * Pi / 3, phi[3] = {0, s, -s};
    const TLinkPhasors p = LinkPhasors(t1, t2, C(0, -SupplyU), -1);
    C sum = 0;
    for (int k = 0; k < 3; ++k)
        sum += std::sin(t2 + phi[k]) * -p.I[k];
    return -M * 0.5 * std::real(p.Ie2 * std::conj(sum));
}

TEST(SelsynExamples, ReceiverFollowsTheTransmitterWithTheLoadAngleOfItsTorqueCurve) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("selsyn_link.dvn", 2);
    ASSERT_GE(rows.size(), 19999u);
    EXPECT_TRUE(messages.Entries.empty());
    // The receiver's synchronising torque pulls it towards the transmitter:
    // at a lag δ the mean torque is positive, growing with δ near 0.
    EXPECT_GT(MeanReceiverTorque(Held, Held - 0.1), 0);
    EXPECT_NEAR(MeanReceiverTorque(Held, Held), 0, 1e-9);
    // The steady lag under the load, from the torque curve by bisection.
    double lo = 0, hi = 1;
    for (int k = 0; k < 100; ++k) {
        const double mid = 0.5 * (lo + hi);
        (MeanReceiverTorque(Held, Held - mid) < LinkLoad ? lo : hi) = mid;
    }
    const double lag = 0.5 * (lo + hi);
    // The receiver follows the ramp and, the angle held, settles at the lag
    // (the viscous torque gone at rest).
    double mean = 0, least = 1e9, most = -1e9, atRampEnd = 0;
    int n = 0;
    for (const auto& row : rows) {
        if (std::abs(row[0] - RampEnd) < 1e-6) atRampEnd = row[2];
        if (row[0] < LinkT - 0.2) continue;
        mean += row[2];
        least = std::min(least, row[2]);
        most = std::max(most, row[2]);
        ++n;
    }
    mean /= n;
    // At the ramp's end it is under way, behind by the load and the
    // viscous torque of 2 rad/s.
    EXPECT_GT(atRampEnd, 0.3 * Held);
    EXPECT_NEAR(rows.back()[1], Held, 1e-3);
    EXPECT_NEAR(mean, Held - lag, 0.05 * lag);
    EXPECT_LT(most - least, 0.1 * lag);
}

TEST(SelsynExamples, TransformerModeOutputFollowsTheSineOfTheAngleDifference) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("selsyn_transformer.dvn", 2);
    ASSERT_GE(rows.size(), 39999u);
    EXPECT_TRUE(messages.Entries.empty());
    const double period = 2 * Pi / SupplyW;
    const C emf(0, -SupplyU);
    const double full = std::abs(LinkPhasors(Pi / 2, Pi / 2, emf, OutputR).Ue2);
    EXPECT_GT(full, 1);
    int checked = 0;
    for (double start = 0.01; start + period < TransT; start += period) {
        double peak = 0, angle = 0;
        int n = 0;
        for (const auto& row : rows) {
            if (row[0] < start || row[0] >= start + period) continue;
            peak = std::max(peak, std::abs(row[1]));
            angle += row[2];
            ++n;
        }
        angle /= n;
        // The couplings of the transformer-mode selsyn are those at θ₂ + π/2.
        const double expected =
            std::abs(LinkPhasors(angle, TransTheta2 + Pi / 2, emf, OutputR).Ue2);
        EXPECT_NEAR(peak, expected, 0.02 * full) << "t = " << start;
        EXPECT_NEAR(expected, full * std::abs(std::sin(angle - TransTheta2)), 0.02 * full);
        ++checked;
    }
    EXPECT_GT(checked, 300);
}

TEST(SelsynExamples, MatchTheDenseLoop) {
    for (const char* name : {"selsyn_link.dvn", "selsyn_transformer.dvn"}) {
        RecordingMessages messages;
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, ExamplePath(name)), TLoadResult::Loaded);
        sheet.RunSettings.T = 0.003;
        CompareWithOracle(sheet, name);
        EXPECT_TRUE(messages.Entries.empty()) << name;
    }
}

} // namespace
