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
    TSimModel& m = sheet.SimModel();
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

    auto* dynamic = static_cast<TTransferFunction*>(b.PlaceBox("TTransferFunction", 500, 260));
    EXPECT_TRUE(dynamic->SetCoefficients(1, {{Example.J, 0}, {TorqueLag, 1}, {}}));
    TBaseElement* load = b.PlaceBox("TConst", 500, 340);
    ExampleBuilder::Set(load, "K", DolLoad);
    TBaseElement* sum = b.PlaceBox("TSummingJunction", 640, 280);
    b.Link(motor, dynamic);
    b.Link(dynamic, sum);
    b.Link(load, sum, 1);

    b.Link(motor, b.PlaceBox("TPlotter", 640, 140));
    b.Link(sum, b.PlaceBox("TPlotter", 740, 280));
    b.Link(ammeter, b.PlaceBox("TPlotter", 640, 20));
    Settings(sheet, DolT, 1e-5, 5e-4);
}

const std::vector<ExampleGenerator> examples = {
    {"induction_dol_start.dvn", &InductionDolStart},
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

} // namespace
