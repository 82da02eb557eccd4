#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/electrical/TAmper.h"
#include "elements/machines/TIadd.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"

namespace {

constexpr double Pi = 3.141592653589793, W50 = 2 * Pi * 50;

TEST(ServoMotorTables, ReferenceRowsAndOutputList) {
    Schematic sheet;
    auto* m = dynamic_cast<TIadd*>(CreateElementByName(sheet, "TIadd"));
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->DbSection, "Iadds");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {
        {"vv", "Выходная величина", 0, "w,рад/с "},  {"Jd", "Момент инерции", 5e-05, "кг м2"},
        {"Ra", "Сопротивление обмотки a", 1, "Ом"},  {"La", "Индуктивность обмотки a", 0.2, "мГн"},
        {"Rb", "Сопротивление обмотки b", 1, "Ом"},  {"Lb", "Индуктивность обмотки b", 0.2, "мГн"},
        {"Rl", "Сопротивление обмотки l", 50, "Ом"}, {"Ll", "Индуктивность обмотки l", 0.06, "мГн"},
        {"Rv", "Сопротивление обмотки v", 50, "Ом"}, {"Lv", "Индуктивность обмотки v", 0.06, "мГн"},
        {"M", "Макс. взаимная индукт.", 0.1, "мГн"}};
    for (const auto& r : rows) {
        const ParamValue* v = m->FindParam(r.name);
        ASSERT_NE(v, nullptr) << r.name;
        EXPECT_STREQ(v->Def->Description, r.description) << r.name;
        EXPECT_EQ(v->Value, r.value) << r.name;
        EXPECT_STREQ(v->Def->Units[v->Unit].Text, r.unit) << r.name;
    }
    const UnitDef* out = m->FindParam("vv")->Def->Units;
    ASSERT_EQ(UnitCount(out), 8);
    EXPECT_STREQ(out[6].Text, "Ток рот.обм.l, А");
    EXPECT_STREQ(out[7].Text, "Ток рот.обм.v, А");
    ASSERT_EQ(MethodCount(m->ModelMethods), 6);
    EXPECT_STREQ(m->ModelMethods[5], "Модель суммарного момента ");
}

TEST(ServoMotorRefusals, ParametersThatDivideAndOptionsOutsideTheList) {
    for (const char* name : {"Jd", "Ra", "La", "Rb", "Lb", "Rl", "Ll", "Rv", "Lv", "M"}) {
        RecordingMessages messages;
        Schematic sheet;
        CreateElementByName(sheet, "TIadd")->FindParam(name)->Value = 0;
        TRunContext context(sheet, "");
        EXPECT_FALSE(PrepareRun(context)) << name;
        ASSERT_EQ(messages.Entries.size(), 1u) << name;
        EXPECT_EQ(messages.Entries[0].Text,
                  std::string("Компонент Iadd №0: параметр ") + name + " должен быть больше нуля.");
    }
    RecordingMessages messages;
    Schematic sheet;
    auto* m = static_cast<TIadd*>(CreateElementByName(sheet, "TIadd"));
    m->FindParam("vv")->Unit = 8;
    TRunContext context(sheet, "");
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Iadd №0: параметр vv имеет недопустимый выбор № 8.");
    // A damaged choice that reached the run reports 0.
    m->FindParam("vv")->Unit = 0;
    messages.Clear();
    ASSERT_TRUE(PrepareRun(context));
    m->Choice = 8;
    m->W = 5;
    EXPECT_EQ(m->Output(), 0.0);
}

// Winding a fed with U·sin(ωt), winding b with U·sin(ωt + phaseB) unless
// it is left open; the speed after T seconds.
double RunServo(double phaseB, bool controlConnected, double T, double* rotorCurrent = nullptr) {
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* motor = static_cast<TIadd*>(b.Add("TIadd", 400, 200));
    const double phases[2] = {0, phaseB};
    const char* plus[2] = {"Connector2", "Connector4"};
    const char* minus[2] = {"Connector1", "Connector3"};
    for (int k = 0; k < (controlConnected ? 2 : 1); ++k) {
        TBaseElement* source = b.Add("TVoltageSin", 40, 40 + 200 * k);
        CircuitBuilder::Set(source, "E", 110);
        CircuitBuilder::Set(source, "phi", phases[k]);
        TBaseElement* ground = b.Add("TGround", 40, 140 + 200 * k);
        b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(ground, "Connector"));
        b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(motor, plus[k]));
        b.WireToNode(CircuitBuilder::Pin(motor, minus[k]),
                     CircuitBuilder::Pin(ground, "Connector"));
    }
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = 1e-5;
    m.GS = 1e-3;
    TRunContext context(sheet, "");
    EXPECT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.MaxIterations = 100;
    EXPECT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
    if (rotorCurrent) *rotorCurrent = std::hypot(motor->Il, motor->Iv);
    return motor->W;
}

TEST(ServoMotorDirection, QuadratureFeedTurnsItTheOrderOfThePhasesDecidesTheWay) {
    RecordingMessages messages;
    const double lagging = RunServo(-Pi / 2, true, 0.3);
    const double leading = RunServo(Pi / 2, true, 0.3);
    EXPECT_TRUE(messages.Entries.empty());
    // The winding b axis is 90° ahead of a: b lagging a by 90° turns the field
    // and the rotor forward, towards the synchronous 314 rad/s.
    EXPECT_GT(lagging, 0.3 * W50);
    EXPECT_LT(lagging, W50);
    EXPECT_LT(leading, -0.3 * W50);
    EXPECT_NEAR(leading, -lagging, 1e-3 * lagging);
}

TEST(ServoMotorDirection, WithTheControlWindingOpenItDoesNotRunUp) {
    RecordingMessages messages;
    double rotor = 0;
    const double w = RunServo(0, false, 0.3, &rotor);
    // The pulsating field induces rotor currents but no net torque.
    EXPECT_GT(rotor, 0.01);
    EXPECT_LT(std::abs(w), 1e-3 * W50);
}

// Over a start the electrical input measured in the circuit (pin voltages
// times the ammeters' currents) equals the copper losses, the magnetic and
// kinetic energy and the friction work; a winding whose branch carried the
// current of the wrong sign would fail it.
TEST(ServoMotorEnergy, InputEqualsLossesStoredEnergyAndFrictionWork) {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* motor = static_cast<TIadd*>(b.Add("TIadd", 400, 200));
    motor->MethodIndex = 2;
    CircuitBuilder::Set(motor, "Ms", 0.02);
    const char* plus[2] = {"Connector2", "Connector4"};
    const char* minus[2] = {"Connector1", "Connector3"};
    TAmper* ammeters[2];
    for (int k = 0; k < 2; ++k) {
        TBaseElement* source = b.Add("TVoltageSin", 40, 40 + 200 * k);
        CircuitBuilder::Set(source, "E", 110);
        CircuitBuilder::Set(source, "phi", -k * Pi / 2);
        ammeters[k] = static_cast<TAmper*>(b.Add("TAmper", 200, 40 + 200 * k));
        TBaseElement* ground = b.Add("TGround", 40, 140 + 200 * k);
        b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(ground, "Connector"));
        b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(ammeters[k], "Connector1"));
        b.Wire(CircuitBuilder::Pin(ammeters[k], "Connector2"), CircuitBuilder::Pin(motor, plus[k]));
        b.WireToNode(CircuitBuilder::Pin(motor, minus[k]),
                     CircuitBuilder::Pin(ground, "Connector"));
    }
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.3;
    m.h = 1e-5;
    m.GS = m.h;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    const TConnector* pins[4] = {
        motor->FindConnector("Connector1"), motor->FindConnector("Connector2"),
        motor->FindConnector("Connector3"), motor->FindConnector("Connector4")};
    double input = 0, copper = 0, friction = 0, last = 0;
    TRunOptions o;
    o.MaxIterations = 100;
    o.Sample = [&](double t, const std::vector<double>&) {
        const double dt = t - last;
        last = t;
        input += ((pins[1]->GetPhi() - pins[0]->GetPhi()) * ammeters[0]->Current() +
                  (pins[3]->GetPhi() - pins[2]->GetPhi()) * ammeters[1]->Current()) *
                 dt;
        copper += (motor->Ra * motor->Ia * motor->Ia + motor->Rb * motor->Ib * motor->Ib +
                   motor->Rl * motor->Il * motor->Il + motor->Rv * motor->Iv * motor->Iv) *
                  dt;
        friction += motor->Ml * motor->W * dt;
    };
    ASSERT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
    const double magnetic = 0.5 * (motor->PsiA * motor->Ia + motor->PsiB * motor->Ib +
                                   motor->PsiL * motor->Il + motor->PsiV * motor->Iv);
    const double kinetic = 0.5 * motor->J * motor->W * motor->W;
    EXPECT_GT(kinetic, 0.1 * input);
    EXPECT_GT(friction, 0.0);
    EXPECT_NEAR(copper + magnetic + kinetic + friction, input, 0.01 * input)
        << "copper " << copper << " magnetic " << magnetic << " kinetic " << kinetic << " friction "
        << friction;
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
