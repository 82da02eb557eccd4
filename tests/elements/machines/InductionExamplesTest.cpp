#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>

#include "Simulation/SimModel.h"
#include "blocks/TTransferFunction.h"
#include "elements/machines/InductionRig.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"

namespace {

using namespace InductionRig;

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

void Ground(ExampleBuilder& b, TBaseElement* e, const char* pin) {
    const TPoint at = e->FindConnector(pin)->GetLink();
    TBaseElement* ground = b.Place("TGround", "Connector", {at.x, at.y + 30});
    Wire(b, e, pin, ground, "Connector");
}

void Settings(Schematic& sheet, double T, double h, double GS) {
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = GS;
}

void SetThreePhase(TBaseElement* motor, const TMotorData& d) {
    ExampleBuilder::Set(motor, "Rc", d.Rc);
    ExampleBuilder::Set(motor, "Lc", d.Lc);
    ExampleBuilder::Set(motor, "Rp", d.Rp);
    ExampleBuilder::Set(motor, "Lp", d.Lp);
    ExampleBuilder::Set(motor, "M", d.M);
    ExampleBuilder::Set(motor, "Jd", d.J);
    motor->AutoModel = false;
}

constexpr double Amplitude = 311, DolLoad = 12, DolT = 1, TorqueLag = 5e-4;

// Three 50 Hz EMFs of 311 V amplitude (220 V rms per phase), 120° apart,
// each drawn left of the motor and wired to its pin; the sources' Minus
// pins grounded, so the supply star is the ground.
std::array<TBaseElement*, 3> ThreeSources(ExampleBuilder& b, int left, int top) {
    std::array<TBaseElement*, 3> sources{};
    const double phases[3] = {0, -2 * Pi / 3, 2 * Pi / 3};
    for (int k = 0; k < 3; ++k) {
        sources[k] = b.PlaceBox("TVoltageSin", left, top + 90 * k);
        ExampleBuilder::Set(sources[k], "E", Amplitude);
        ExampleBuilder::Set(sources[k], "phi", phases[k]);
        Ground(b, sources[k], "Minus");
    }
    return sources;
}

// The torque rebuilt from the speed output as Ml + J·dω/dt, the derivative
// through a short lag (0.5 ms); returns the block that carries it.
TBaseElement* RebuiltTorque(ExampleBuilder& b, TBaseElement* motor, double J, double Ml) {
    auto* dynamic = static_cast<TTransferFunction*>(b.PlaceBox("TTransferFunction", 500, 260));
    EXPECT_TRUE(dynamic->SetCoefficients(1, {{J, 0}, {TorqueLag, 1}, {}}));
    TBaseElement* load = b.PlaceBox("TConst", 500, 340);
    ExampleBuilder::Set(load, "K", Ml);
    TBaseElement* sum = b.PlaceBox("TSummingJunction", 640, 280);
    b.Link(motor, dynamic);
    b.Link(dynamic, sum);
    b.Link(load, sum, 1);
    return sum;
}

// Direct start against a constant 12 N·m. The speed is the motor's output;
// the torque is rebuilt as Ml + J·dω/dt through a short lag (0.5 ms); the
// ammeter in phase A gives a stator current.
void InductionDolStart(Schematic& sheet) {
    ExampleBuilder b(sheet);
    const auto sources = ThreeSources(b, 40, 60);
    TBaseElement* ammeter = b.PlaceBox("TAmper", 200, 20);
    TBaseElement* motor = b.PlaceBox("TAtd", 340, 140);
    SetThreePhase(motor, Example);
    motor->MethodIndex = 0;
    ExampleBuilder::Set(motor, "Mc", DolLoad);
    Wire(b, sources[0], "Plus", ammeter, "Connector1");
    Wire(b, ammeter, "Connector2", motor, "Connector_A");
    Wire(b, sources[1], "Plus", motor, "Connector_B");
    Wire(b, sources[2], "Plus", motor, "Connector_C");

    b.Link(motor, b.PlaceBox("TPlotter", 640, 140));
    b.Link(RebuiltTorque(b, motor, Example.J, DolLoad), b.PlaceBox("TPlotter", 740, 280));
    b.Link(ammeter, b.PlaceBox("TPlotter", 640, 20));
    Settings(sheet, DolT, 1e-5, 5e-4);
}

// The servo motor with its default data; dry friction of 0.05 N·m opposes
// the motion either way. Excitation winding a on a 110 V, 50 Hz EMF; the
// control winding b on a controlled EMF fed with the same sine 90° behind
// it, times 1 and from the middle of the run times −1.
// The stator's DC flux of a switching decays with about La/Ra = 0.2 s, so
// each half of the run lasts 1.5 s.
constexpr double ServoU = 110, ServoFriction = 0.05, ServoT = 3;

void ServoTwoPhase(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* excitation = b.PlaceBox("TVoltageSin", 60, 60);
    ExampleBuilder::Set(excitation, "E", ServoU);
    TBaseElement* motor = b.PlaceBox("TIadd", 300, 100);
    motor->MethodIndex = 2;
    ExampleBuilder::Set(motor, "Ms", ServoFriction);
    motor->AutoModel = false;
    Wire(b, excitation, "Plus", motor, "Connector2");
    Ground(b, excitation, "Minus");
    Ground(b, motor, "Connector1");

    TBaseElement* sine = b.PlaceBox("TSinusoid", 20, 300);
    ExampleBuilder::Set(sine, "A", ServoU);
    ExampleBuilder::Set(sine, "w", Omega50);
    ExampleBuilder::Set(sine, "phi", -Pi / 2);
    TBaseElement* one = b.PlaceBox("TConst", 20, 380);
    TBaseElement* invert = b.PlaceBox("TStep", 20, 440);
    ExampleBuilder::Set(invert, "h", -2);
    ExampleBuilder::Set(invert, "t", ServoT / 2, 0);
    TBaseElement* sign = b.PlaceBox("TSummingJunction", 110, 400);
    b.Link(one, sign);
    b.Link(invert, sign, 1);
    TBaseElement* product = b.PlaceBox("TMultiplyingJunction", 180, 320);
    b.Link(sine, product);
    b.Link(sign, product, 1);
    TBaseElement* control = b.PlaceBox("TControlledVoltage", 240, 260);
    b.Link(product, control);
    Wire(b, control, "Plus", motor, "Connector4");
    Ground(b, control, "Minus");
    Ground(b, motor, "Connector3");

    b.Link(motor, b.PlaceBox("TPlotter", 440, 120));
    Settings(sheet, ServoT, 1e-5, 1e-3);
}

// The wound-rotor motor with the cage motor's data started direct with
// 3 Ω starting resistors star-connected in its rotor circuit, against the
// same 12 N·m; plotters of the speed and of the rebuilt torque.
constexpr double StartingR = 3;

void SlipRingStart(Schematic& sheet) {
    ExampleBuilder b(sheet);
    const auto sources = ThreeSources(b, 40, 60);
    TBaseElement* motor = b.PlaceBox("TAtdpet", 340, 100);
    SetThreePhase(motor, Example);
    motor->MethodIndex = 0;
    ExampleBuilder::Set(motor, "Mc", DolLoad);
    Wire(b, sources[0], "Plus", motor, "Connector_A");
    Wire(b, sources[1], "Plus", motor, "Connector_B");
    Wire(b, sources[2], "Plus", motor, "Connector_C");
    const char* rotor[3] = {"Connector_rA", "Connector_rB", "Connector_rC"};
    // Upright resistors: the outer two joined by a wire along their lower
    // ends, the middle one dropped onto that wire.
    const TPoint tops[3] = {{300, 240}, {364, 200}, {430, 240}};
    TBaseElement* resistors[3];
    for (int k = 0; k < 3; ++k) {
        resistors[k] = b.Place("TResistor", "Connector1", tops[k], 90);
        ExampleBuilder::Set(resistors[k], "R", StartingR, 0);
        Wire(b, motor, rotor[k], resistors[k], "Connector1");
    }
    Wire(b, resistors[0], "Connector2", resistors[2], "Connector2");
    const TPoint middle = resistors[1]->FindConnector("Connector2")->GetLink();
    const TPoint left = resistors[0]->FindConnector("Connector2")->GetLink();
    b.Drag(resistors[1], "Connector2", {middle.x, left.y});
    EXPECT_TRUE(SameNode(resistors[0], "Connector2", resistors[1], "Connector2"));
    EXPECT_TRUE(SameNode(resistors[1], "Connector2", resistors[2], "Connector2"));

    b.Link(motor, b.PlaceBox("TPlotter", 640, 140));
    b.Link(RebuiltTorque(b, motor, Example.J, DolLoad), b.PlaceBox("TPlotter", 740, 280));
    Settings(sheet, DolT, 1e-5, 5e-4);
}

const std::vector<ExampleGenerator> examples = {
    {"induction_dol_start.dvn", &InductionDolStart},
    {"servo_two_phase.dvn", &ServoTwoPhase},
    {"slip_ring_start.dvn", &SlipRingStart},
};

TEST(InductionExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

TEST(InductionExamples, DirectStartSettlesOnTheTorqueSlipCurveOfTheTCircuit) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("induction_dol_start.dvn", 3);
    ASSERT_GE(rows.size(), 1900u);
    EXPECT_TRUE(messages.Entries.empty());
    // The ammeter adds its 0.01 Ω in phase A only; the T-circuit takes the
    // source's 0.01 Ω and half of that as the mean.
    const TTCircuit tc(Example, 0.015);
    const double V = Amplitude / std::sqrt(2.0);
    // Mean speed and torque and the current's peak over the last 0.1 s
    // (five periods).
    double w = 0, torque = 0, peak = 0, startPeak = 0;
    int n = 0;
    for (const auto& row : rows) {
        if (row[0] < 0.1) startPeak = std::max(startPeak, std::abs(row[3]));
        if (row[0] < DolT - 0.1) continue;
        w += row[1];
        torque += row[2];
        peak = std::max(peak, std::abs(row[3]));
        ++n;
    }
    w /= n;
    torque /= n;
    const double slip = 1 - w / Omega50;
    const double expectedSlip = tc.SlipAt(DolLoad, V);
    EXPECT_NEAR(slip, expectedSlip, 0.02 * expectedSlip);
    EXPECT_NEAR(tc.Torque(slip, V), DolLoad, 0.02 * DolLoad);
    EXPECT_NEAR(torque, DolLoad, 0.02 * DolLoad);
    // The stator current of the circuit at that slip.
    using C = std::complex<double>;
    const C zr(tc.Rr / slip, Omega50 * tc.Lr), zm(0, Omega50 * tc.Lm);
    const double i1 = std::abs(V / (C(tc.Rs, Omega50 * tc.Ls) + zr * zm / (zr + zm)));
    EXPECT_NEAR(peak, std::sqrt(2.0) * i1, 0.02 * std::sqrt(2.0) * i1);
    // The start draws several times that.
    EXPECT_GT(startPeak, 4 * std::sqrt(2.0) * i1);
}

// A symmetric two-phase machine on a balanced supply: the T-circuit with
// Lm = M (two windings 90° apart, no 3/2), Lσs = La − M, Lσr = Ll − M,
// and the torque of two phases.
double ServoTorque(double s) {
    const double Ra = 1 + 0.01, La = 0.2, Rl = 50, Ll = 0.06, M = 0.1;
    using C = std::complex<double>;
    const C zr(Rl / s, Omega50 * Ll);
    const C z = C(Ra, Omega50 * La) + Omega50 * Omega50 * M * M / zr;
    const double i2 = std::abs(ServoU / std::sqrt(2.0) / z) * Omega50 * M / std::abs(zr);
    return 2 * i2 * i2 * Rl / s / Omega50;
}

TEST(InductionExamples, ServoReversesWhenTheControlPhaseIsInverted) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("servo_two_phase.dvn", 1);
    ASSERT_GE(rows.size(), 2900u);
    EXPECT_TRUE(messages.Entries.empty());
    double before = 0, after = 0;
    int nb = 0, na = 0;
    for (const auto& row : rows) {
        if (row[0] > ServoT / 2 - 0.2 && row[0] < ServoT / 2) before += row[1], ++nb;
        if (row[0] > ServoT - 0.2) after += row[1], ++na;
    }
    before /= nb;
    after /= na;
    // The servo's torque falls linearly with the speed; the slip at which it
    // carries the friction, from the circuit by bisection.
    double lo = 1e-6, hi = 1;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (lo + hi);
        (ServoTorque(mid) < ServoFriction ? lo : hi) = mid;
    }
    const double w = (1 - lo) * Omega50;
    EXPECT_NEAR(before, w, 0.02 * w);
    EXPECT_NEAR(after, -w, 0.02 * w);
}

TEST(InductionExamples, StartingResistorsRaiseTheStartingTorque) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("slip_ring_start.dvn", 2);
    ASSERT_GE(rows.size(), 1900u);
    EXPECT_TRUE(messages.Entries.empty());
    // The mean torque of the first 50 ms, against the same start with the
    // rotor pins shorted.
    double start = 0;
    int n = 0;
    for (const auto& row : rows)
        if (row[0] < 0.05) start += row[2], ++n;
    start /= n;
    const TRun shorted = RunTAtdpet(Example, Amplitude, DolLoad, 0.05, 1e-5, 0);
    ASSERT_TRUE(shorted.Finished);
    EXPECT_GT(start, 1.5 * shorted.MeanTorque);
    // Settled: the T-circuit with the starting resistors added to Rr'.
    TMotorData withR = Example;
    withR.Rp += StartingR;
    const double expected = TTCircuit(withR, 0.01).SlipAt(DolLoad, Amplitude / std::sqrt(2.0));
    const double slip = 1 - rows.back()[1] / Omega50;
    EXPECT_NEAR(slip, expected, 0.02 * expected);
    EXPECT_NEAR(rows.back()[2], DolLoad, 0.02 * DolLoad);
}

} // namespace
