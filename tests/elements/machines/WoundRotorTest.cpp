#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "elements/machines/InductionRig.h"
#include "elements/machines/TAtdpet.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "support/RecordingMessages.h"

namespace {

using namespace InductionRig;

TEST(WoundRotorMotor, TablesAreThoseOfTheCageMotorUnderItsOwnDatabase) {
    Schematic sheet;
    auto* m = dynamic_cast<TAtdpet*>(CreateElementByName(sheet, "TAtdpet"));
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->DbSection, "Atdpet");
    for (const char* name : {"vv", "Jd", "Rc", "Lc", "Rp", "Lp", "M", "Mc", "Wnom"})
        EXPECT_NE(m->FindParam(name), nullptr) << name;
    EXPECT_EQ(BranchCount(m->GetCircuitModel()), 6);
    EXPECT_EQ(UnitCount(m->FindParam("vv")->Def->Units), 9);
}

constexpr TMotorData Light{Example.Rc, Example.Lc, Example.Rp, Example.Lp, Example.M, 0.005};

TEST(WoundRotorMotor, WithItsRotorPinsShortedItFollowsTheCageMotor) {
    RecordingMessages messages;
    std::vector<double> cage, wound;
    const TRun a = RunTAtd(Light, 311, 5, 0.3, 1e-5, true, &cage, 0.005);
    const TRun b = RunTAtdpet(Light, 311, 5, 0.3, 1e-5, 0, &wound, 0.005);
    ASSERT_TRUE(a.Finished);
    ASSERT_TRUE(b.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    ASSERT_EQ(cage.size(), wound.size());
    ASSERT_GE(cage.size(), 59u);
    // Over the whole start, within 0.5 % of the final speed.
    for (std::size_t k = 0; k < cage.size(); ++k)
        EXPECT_NEAR(wound[k], cage[k], 0.005 * a.Omega) << "sample " << k;
    EXPECT_GT(a.Omega, 0.9 * Omega50);
}

TEST(WoundRotorMotor, AddedRotorResistanceRaisesTheStartingTorqueAndTheSlip) {
    RecordingMessages messages;
    const double V = 311 / std::sqrt(2.0), Rext = 3;
    // A rotor held by a huge inertia: the starting torque.
    TMotorData locked = Example;
    locked.J = 1e6;
    const TRun shortStart = RunTAtdpet(locked, 311, 0, 0.2, 1e-5, 0);
    const TRun resistorStart = RunTAtdpet(locked, 311, 0, 0.2, 1e-5, Rext);
    ASSERT_TRUE(shortStart.Finished);
    ASSERT_TRUE(resistorStart.Finished);
    TMotorData withRext = Example;
    withRext.Rp += Rext;
    const double t0 = TTCircuit(Example).Torque(1, V), t1 = TTCircuit(withRext).Torque(1, V);
    EXPECT_GT(t1, 1.5 * t0);
    EXPECT_NEAR(shortStart.MeanTorque, t0, 0.03 * t0);
    EXPECT_NEAR(resistorStart.MeanTorque, t1, 0.03 * t1);

    // Running against 12 N·m the slip grows with the rotor resistance.
    const double Mc = 12;
    const TRun shortRun = RunTAtdpet(Light, 311, Mc, 0.6, 1e-5, 0);
    const TRun resistorRun = RunTAtdpet(Light, 311, Mc, 0.6, 1e-5, Rext);
    ASSERT_TRUE(shortRun.Finished);
    ASSERT_TRUE(resistorRun.Finished);
    const double s0 = 1 - shortRun.Omega / Omega50, s1 = 1 - resistorRun.Omega / Omega50;
    const double e0 = TTCircuit(Example).SlipAt(Mc, V), e1 = TTCircuit(withRext).SlipAt(Mc, V);
    EXPECT_GT(s1, 2 * s0);
    EXPECT_NEAR(s0, e0, 0.02 * e0);
    EXPECT_NEAR(s1, e1, 0.02 * e1);
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
