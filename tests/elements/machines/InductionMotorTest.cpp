#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <utility>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/machines/InductionMachine.h"
#include "elements/machines/InductionRig.h"
#include "elements/machines/TAtd.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"

namespace {

TEST(InductionMotorTables, ReferenceRowsMethodsAndOutputList) {
    Schematic sheet;
    auto* m = dynamic_cast<TAtd*>(CreateElementByName(sheet, "TAtd"));
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->DbSection, "Atds");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {{"vv", "Выходная величина", 0, "w,рад/с "},
                {"Jd", "Момент инерции", 5e-05, "кг м2"},
                {"Rc", "Сопротивление обмот\x6f\xd0\xba статора", 1, "Ом"},
                {"Lc", "Индуктивность обмоток статора", 0.002, "мГн"},
                {"Rp", "Сопротивление обмоток ротора", 20, "Ом"},
                {"Lp", "Индуктивность обмоток ротора", 0.004, "мГн"},
                {"M", "Макс. взаимная индукт.", 0.001, "мГн"}};
    for (const auto& r : rows) {
        const ParamValue* v = m->FindParam(r.name);
        ASSERT_NE(v, nullptr) << r.name;
        EXPECT_STREQ(v->Def->Description, r.description) << r.name;
        EXPECT_EQ(v->Value, r.value) << r.name;
        EXPECT_STREQ(v->Def->Units[v->Unit].Text, r.unit) << r.name;
    }
    const char* options[] = {"w,рад/с ",         "n,об/мин",         "n,об/с",
                             "М вращ.,H м  ",    "M сопр.,Н м",      "М дин.,Н м",
                             "Ток рот.обм.a, А", "Ток рот.обм.b, А", "Ток рот.обм.c, А"};
    const UnitDef* out = m->FindParam("vv")->Def->Units;
    ASSERT_EQ(UnitCount(out), 9);
    for (int k = 0; k < 9; ++k) {
        EXPECT_STREQ(out[k].Text, options[k]);
        EXPECT_EQ(out[k].Factor, 0.0);
    }
    ASSERT_EQ(MethodCount(m->ModelMethods), 6);
    EXPECT_STREQ(m->ModelMethods[0], "Модель постоянного момента");
    EXPECT_STREQ(m->ModelMethods[5], "Модель суммарного момента ");
    for (const char* name : {"Mc", "Mg", "W", "Rad", "Ms", "Wnom", "Mv", "LLL", "Mu"})
        ASSERT_NE(m->FindParam(name), nullptr) << name;
    EXPECT_EQ(m->FindParam("Wnom")->Value, 270);
}

TEST(InductionMotorRefusals, ParametersThatDivideAndOptionsOutsideTheList) {
    for (const char* name : {"Jd", "Rc", "Lc", "Rp", "Lp", "M"})
        for (double bad : {0.0, -1.0}) {
            RecordingMessages messages;
            Schematic sheet;
            CreateElementByName(sheet, "TAtd")->FindParam(name)->Value = bad;
            TRunContext context(sheet, "");
            EXPECT_FALSE(PrepareRun(context)) << name;
            ASSERT_EQ(messages.Entries.size(), 1u) << name;
            EXPECT_EQ(messages.Entries[0].Text, std::string("Компонент Atd №0: параметр ") + name +
                                                    " должен быть больше нуля.");
        }
    RecordingMessages messages;
    Schematic sheet;
    TBaseElement* m = CreateElementByName(sheet, "TAtd");
    m->FindParam("vv")->Unit = 9;
    TRunContext context(sheet, "");
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Atd №0: параметр vv имеет недопустимый выбор № 9.");
    m->FindParam("vv")->Unit = 8;
    messages.Clear();
    EXPECT_TRUE(PrepareRun(context));
    EXPECT_TRUE(messages.Entries.empty());
    m->MethodIndex = 6;
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Atd №0: модель момента нагрузки № 6 отсутствует в списке.");
}

TEST(InductionMotorGuards, DeterminantsAndCouplingsAreHeldAwayFromZero) {
    EXPECT_EQ(Induction::AwayFromZero(0.0, 1e-10), 1e-10);
    EXPECT_EQ(Induction::AwayFromZero(-3e-11, 1e-10), -1e-10);
    EXPECT_EQ(Induction::AwayFromZero(2e-11, 1e-10), 1e-10);
    EXPECT_EQ(Induction::AwayFromZero(-0.5, 1e-10), -0.5);
    // A machine whose rotor matrix is singular at the first step (ar = br
    // would need negative data, so the step is forced with zero data) stays
    // finite.
    Induction::TThreePhase m;
    LoadTorque::TModel load;
    m.J = 1;
    m.Step(1e-5, {1, 2, 3}, {0, 0, 0}, load);
    for (int k = 0; k < 3; ++k) {
        EXPECT_TRUE(std::isfinite(m.G[k])) << k;
        EXPECT_TRUE(std::isfinite(m.Jsrc[k])) << k;
        EXPECT_TRUE(std::isfinite(m.Ir[k])) << k;
    }
}

TEST(InductionMotorOutputs, EveryChoiceReportsItsQuantity) {
    Induction::TThreePhase m;
    m.W = 100;
    m.Te = 3;
    m.Ml = 2;
    m.Dynamic = 1;
    m.Ir = {4, 5, 6};
    const double expected[] = {
        100, 100 * 60 * 0.15915507752443828, 100 * 0.15915507752443828, 3, 2, 1, 4, 5, 6};
    for (int k = 0; k < 9; ++k)
        EXPECT_DOUBLE_EQ(m.Output(k), expected[k]) << k;
}

using namespace InductionRig;

// A light rotor so that it reaches its speed within the run.
constexpr TMotorData Light{Example.Rc, Example.Lc, Example.Rp, Example.Lp, Example.M, 0.005};

TEST(InductionMotorDirection, PositiveSequenceTurnsItForwardSwappedPhasesReverse) {
    RecordingMessages messages;
    const TRun forward = RunTAtd(Light, 311, 0, 0.25, 1e-5, true);
    const TRun reverse = RunTAtd(Light, 311, 0, 0.25, 1e-5, false);
    ASSERT_TRUE(forward.Finished);
    ASSERT_TRUE(reverse.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    // Unloaded it runs close to the synchronous 314.16 rad/s, either way.
    EXPECT_GT(forward.Omega, 0.98 * Omega50);
    EXPECT_LT(forward.Omega, Omega50);
    EXPECT_LT(reverse.Omega, -0.98 * Omega50);
    EXPECT_NEAR(forward.Omega, -reverse.Omega, 1e-3 * Omega50);
}

TEST(InductionMotorEnergy, InputEqualsLossesStoredEnergyAndLoadWork) {
    RecordingMessages messages;
    const TRun r = RunTAtd(Light, 311, 5, 0.3, 1e-5, true);
    ASSERT_TRUE(r.Finished);
    // A sample is kept at (nearly) every step; the sums weigh each by the
    // time since the previous one.
    EXPECT_GE(r.Samples, r.Steps - 1);
    // A start draws several times the rated current.
    EXPECT_GT(r.PeakCurrent, 30.0);
    const double out = r.Copper + r.Magnetic + r.Kinetic + r.LoadWork;
    EXPECT_GT(r.Kinetic, 0.1 * r.Input);
    EXPECT_GT(r.Magnetic, 0.0);
    EXPECT_NEAR(out, r.Input, 0.01 * r.Input) << "copper " << r.Copper << " magnetic " << r.Magnetic
                                              << " kinetic " << r.Kinetic << " load " << r.LoadWork;
}

TEST(InductionMotorSteadyState, MatchesTheTorqueSlipCurveOfTheTCircuit) {
    RecordingMessages messages;
    const double Mc = 12, U = 311;
    const TRun r = RunTAtd(Example, U, Mc, 1.0, 1e-5, true);
    ASSERT_TRUE(r.Finished);
    const TTCircuit tc(Example);
    const double V = U / std::sqrt(2.0);
    const double slip = 1 - r.Omega / Omega50;
    const double expectedSlip = tc.SlipAt(Mc, V);
    EXPECT_NEAR(slip, expectedSlip, 0.02 * expectedSlip);
    EXPECT_NEAR(r.Torque, tc.Torque(slip, V), 0.02 * Mc);
    EXPECT_NEAR(r.Torque, Mc, 0.02 * Mc);
}

// Handbook data give the two leakages apart (X1σ ≠ X2σ'); the mapping must
// put Lc − M on the stator side and Lp − M on the rotor side, which a
// machine with equal leakages cannot tell. Here the rotor leaks ten times
// the stator: the swapped assignment would settle 15 % further in slip.
TEST(InductionMotorSteadyState, UnequalLeakagesMapToTheirOwnSideOfTheTCircuit) {
    RecordingMessages messages;
    const double M = 0.17;
    const TMotorData d{2.0, 0.002 + M, 3.0, 0.020 + M, M, 0.02};
    const double Mc = 10, U = 311, V = U / std::sqrt(2.0);
    const TTCircuit tc(d);
    TTCircuit swapped(d);
    std::swap(swapped.Ls, swapped.Lr);
    const double expected = tc.SlipAt(Mc, V);
    ASSERT_GT(swapped.SlipAt(Mc, V), 1.1 * expected); // the check below can tell them apart
    const TRun r = RunTAtd(d, U, Mc, 1.0, 1e-5, true);
    ASSERT_TRUE(r.Finished);
    const double slip = 1 - r.Omega / Omega50;
    EXPECT_NEAR(slip, expected, 0.02 * expected);
    EXPECT_NEAR(r.Torque, Mc, 0.02 * Mc);
}

// The engine differences the Jacobian at time 0, before the first step,
// and keeps it: the stator conductance must already be the run's there, or
// an unbalanced feed stops converging within a few steps.
TEST(InductionMotorJacobian, AnUnbalancedFeedConvergesWithTheKeptJacobian) {
    RecordingMessages messages;
    double omega[2] = {};
    for (int reuse = 0; reuse < 2; ++reuse) {
        Schematic sheet;
        CircuitBuilder b(sheet);
        auto* motor = static_cast<TAtd*>(b.Add("TAtd", 400, 200));
        for (const auto& [name, value] : {std::pair{"Rc", Light.Rc},
                                          {"Lc", Light.Lc},
                                          {"Rp", Light.Rp},
                                          {"Lp", Light.Lp},
                                          {"M", Light.M},
                                          {"Jd", Light.J}})
            CircuitBuilder::Set(motor, name, value);
        std::array<TBaseElement*, 3> ammeters{};
        FeedThreePhase(sheet, motor, {"Connector_A", "Connector_B", "Connector_C"}, 311, true,
                       &ammeters);
        CircuitBuilder::Set(ammeters[0], "r", 0.2);
        TRunSettings& m = sheet.RunSettings;
        m.T = 0.05;
        m.h = 1e-5;
        m.GS = 1e-3;
        TRunContext context(sheet, "");
        ASSERT_TRUE(PrepareRun(context));
        TRunOptions o;
        o.MaxIterations = 20;
        o.ReuseJacobian = reuse == 1;
        const TRunResult r = RunSimulation(context, o);
        ASSERT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
        EXPECT_LE(r.Iterations, 3 * r.Steps);
        omega[reuse] = motor->Machine.W;
    }
    EXPECT_GT(omega[0], 10.0);
    EXPECT_NEAR(omega[1], omega[0], 1e-6 * omega[0]);
}

} // namespace
