#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "elements/machines/LoadTorque.h"
#include "elements/machines/TMotor.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/BoundModel.h"
#include "support/CircuitBuilder.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace {

using LoadTorque::TKind;

TMotor* NewMotor(Schematic& sheet) {
    return dynamic_cast<TMotor*>(CreateElementByName(sheet, "TMotor"));
}

TEST(DcMotorTables, ReferenceRowsMethodsAndOutputList) {
    Schematic sheet;
    TMotor* m = NewMotor(sheet);
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->DbSection, "Motors");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {
        {"Jd", "Момент инерции", 3e-05, "кг м2"},     {"Ra", "Сопротивление якоря", 1.35, "Ом"},
        {"La", "Индуктивность якоря", 0.0064, "мГн"}, {"Nn", "Номинальная частота", 1500, "об/мин"},
        {"Uan", "Номинальное напр.якоря", 220, "В"},  {"Ian", "Номинальный ток якоря", 1, "А"},
        {"vv", "Выходная величина", 0, "w,рад/с "}};
    for (const auto& r : rows) {
        const ParamValue* v = m->FindParam(r.name);
        ASSERT_NE(v, nullptr) << r.name;
        EXPECT_STREQ(v->Def->Description, r.description);
        EXPECT_EQ(v->Value, r.value) << r.name;
        EXPECT_STREQ(v->Def->Units[v->Unit].Text, r.unit) << r.name;
    }
    EXPECT_EQ(UnitCount(m->FindParam("Nn")->Def->Units), 1);
    const UnitDef* out = m->FindParam("vv")->Def->Units;
    const char* options[] = {"w,рад/с ",      "n,об/мин",    "n,об/с",
                             "М вращ.,H м  ", "M сопр.,Н м", "М дин.,Н м"};
    ASSERT_EQ(UnitCount(out), 6);
    for (int k = 0; k < 6; ++k) {
        EXPECT_STREQ(out[k].Text, options[k]);
        EXPECT_EQ(out[k].Factor, 0.0);
    }
    const char* methods[] = {"Модель постоянного момента",   "Модель гармонического момента",
                             "Модель момента сухого трения", "Модель момента вязкого трения",
                             "Модель упругого момента",      "Модель линейнонарастающего момента",
                             "Модель суммарного момента",    "Модель ступенчатого момента"};
    ASSERT_EQ(MethodCount(m->ModelMethods), 8);
    for (int k = 0; k < 8; ++k)
        EXPECT_STREQ(m->ModelMethods[k], methods[k]);
    // Each load row shows under its own method and under the sum, which uses
    // them all.
    const struct {
        const char* name;
        int method;
        double value;
    } model[] = {{"Mc", 0, 0}, {"Mg", 1, 0},  {"W", 1, 10}, {"Rad", 1, 1.07}, {"Ms", 2, 0},
                 {"Mv", 3, 0}, {"LLL", 3, 1}, {"Mu", 4, 0}, {"Mst", 7, 0},    {"Tst", 7, 0}};
    for (const auto& r : model) {
        const ParamValue* v = m->FindParam(r.name);
        ASSERT_NE(v, nullptr) << r.name;
        EXPECT_EQ(v->Value, r.value) << r.name;
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(RowBelongsToMethod(*v->Def, k), k == r.method || (k == 6 && r.method < 5))
                << r.name << " " << k;
    }
    EXPECT_STREQ(m->FindParam("Mu")->Def->Description, "Коэф. упругости");
    EXPECT_TRUE(m->CalcModelParams());
}

TEST(DcMotorTables, NameplateGivesNominalSpeedAndTorqueConstant) {
    Schematic sheet;
    TMotor* m = NewMotor(sheet);
    m->ResetState();
    EXPECT_DOUBLE_EQ(m->OmegaN, 157.0);
    EXPECT_DOUBLE_EQ(m->KPhi, (220 - 1.35) / 157.0);
    EXPECT_EQ(m->Arm.i, 0.0);
    EXPECT_EQ(m->Arm.w, 0.0);
}

TEST(LoadTorqueModels, EveryKindAgainstItsFormula) {
    Schematic sheet;
    TMotor* m = NewMotor(sheet);
    auto set = [m](const char* n, double v) { m->FindParam(n)->Value = v; };
    set("Mc", 2);
    set("Mg", 3);
    set("W", 5);
    set("Rad", 0.4);
    set("Ms", 0.7);
    set("Mv", 1.5);
    set("LLL", 2);
    set("Mu", 0.25);
    set("Mst", 4);
    set("Tst", 0.5);
    LoadTorque::TModel load;
    const double wref = 157;
    auto at = [&](int method, double t, double w, double dt) {
        load.Reset(*m, method, true, wref, true);
        return load.Step(t, w, dt);
    };
    EXPECT_EQ(at(0, 0.3, 10, 1e-3), 2.0);
    EXPECT_DOUBLE_EQ(at(1, 0.3, 10, 1e-3), 3 * std::sin(5 * 0.3 + 0.4));
    EXPECT_EQ(at(2, 0.3, 10, 1e-3), 0.7);
    EXPECT_EQ(at(2, 0.3, -10, 1e-3), -0.7);
    EXPECT_EQ(at(2, 0.3, 0.0, 1e-3), 0.0);
    EXPECT_DOUBLE_EQ(at(3, 0.3, 78.5, 1e-3), 1.5 * 0.25);
    // Viscous friction brakes both ways, also for an even exponent.
    EXPECT_DOUBLE_EQ(at(3, 0.3, -78.5, 1e-3), -1.5 * 0.25);
    EXPECT_EQ(at(3, 0.3, 0.0, 1e-3), 0.0);
    EXPECT_EQ(at(5, 0.3, 10, 1e-3), 0.3);
    EXPECT_EQ(at(7, 0.49, 10, 1e-3), 0.0);
    EXPECT_EQ(at(7, 0.5, 10, 1e-3), 4.0);

    // The elastic torque follows the integrated angle: 100 steps at 2 rad/s.
    load.Reset(*m, 4, true, wref, true);
    double last = 0;
    for (int k = 1; k <= 100; ++k)
        last = load.Step(k * 1e-3, 2.0, 1e-3);
    EXPECT_NEAR(last, 0.25 * 0.2, 1e-12);

    const double w = 20, t = 0.1, dt = 1e-3;
    const double sum =
        2 + 3 * std::sin(5 * t + 0.4) + 0.7 + 1.5 * std::pow(w / wref, 2) + 0.25 * (w * dt) + t;
    EXPECT_NEAR(at(6, t, w, dt), sum, 1e-12);
    // Without the rising model the sum is index 5 and has no time term.
    load.Reset(*m, 5, false, wref, false);
    EXPECT_NEAR(load.Step(t, w, dt), sum - t, 1e-12);
    EXPECT_EQ(LoadTorque::KindOf(5, false), TKind::Sum);
    EXPECT_EQ(LoadTorque::KindOf(5, true), TKind::Rising);
    EXPECT_EQ(LoadTorque::KindOf(9, true), TKind::Constant);
}

TEST(DcMotorRefusals, ParametersThatDivideAndOptionsOutsideTheList) {
    for (const char* name : {"Jd", "Ra", "La", "Nn"})
        for (double bad : {0.0, -1.0}) {
            RecordingMessages messages;
            Schematic sheet;
            TMotor* m = NewMotor(sheet);
            m->FindParam(name)->Value = bad;
            TRunContext context(sheet, "");
            EXPECT_FALSE(PrepareRun(context)) << name;
            ASSERT_EQ(messages.Entries.size(), 1u) << name;
            EXPECT_EQ(messages.Entries[0].Text, std::string("Компонент Motor №0: параметр ") +
                                                    name + " должен быть больше нуля.");
        }
    RecordingMessages messages;
    Schematic sheet;
    TMotor* m = NewMotor(sheet);
    m->FindParam("vv")->Unit = 6;
    TRunContext context(sheet, "");
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Motor №0: параметр vv имеет недопустимый выбор № 6.");
    m->FindParam("vv")->Unit = 5;
    messages.Clear();
    EXPECT_TRUE(PrepareRun(context));
    EXPECT_TRUE(messages.Entries.empty());
    m->MethodIndex = 8;
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Motor №0: модель момента нагрузки № 8 отсутствует в списке.");
}

TEST(DcMotorFile, EveryRowMethodAndMarkRoundTrip) {
    RecordingMessages messages;
    TempDir dir;
    Schematic sheet;
    TMotor* m = NewMotor(sheet);
    m->Left = 120;
    m->Top = 80;
    double value = 0.5;
    for (ParamValue& v : m->ParamValues) {
        if (!IsEnumerated(*v.Def)) v.Value = (value += 1.25);
        v.Unit = UnitCount(v.Def->Units) - 1;
    }
    m->MethodIndex = 6;
    m->ManualRefs = true;
    m->AutoModel = false;
    m->DeviceType = "ДПМ-25";
    const std::string first = dir.File("first.dvn");
    ASSERT_TRUE(SaveSchematic(sheet, first));
    Schematic again;
    ASSERT_EQ(LoadSchematic(again, first), TLoadResult::Loaded);
    auto* back = dynamic_cast<TMotor*>(again.Elements[0]);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->MethodIndex, 6);
    EXPECT_EQ(back->DeviceType, "ДПМ-25");
    const std::size_t nRef = std::size_t(ParamRowCount(m->RefParamDefs));
    for (std::size_t k = 0; k < m->ParamValues.size(); ++k) {
        // The step rows are not part of the sum and stay out of the file.
        if (k >= nRef && !RowBelongsToMethod(*m->ParamValues[k].Def, 6)) {
            EXPECT_EQ(back->ParamValues[k].Value, m->ParamValues[k].Def->DefaultValue);
            continue;
        }
        EXPECT_EQ(back->ParamValues[k].Value, m->ParamValues[k].Value) << k;
        EXPECT_EQ(back->ParamValues[k].Unit, m->ParamValues[k].Unit) << k;
    }
    const std::string second = dir.File("second.dvn");
    ASSERT_TRUE(SaveSchematic(again, second));
    EXPECT_EQ(FileBytes(first), FileBytes(second));
    EXPECT_TRUE(messages.Entries.empty());
}

// A motor fed from a 220 V source through an ammeter, with a constant load:
// the schematic every run test below starts from.
struct MotorRig {
    Schematic sheet;
    TBaseElement* source = nullptr;
    TBaseElement* ammeter = nullptr;
    TMotor* motor = nullptr;
    explicit MotorRig(bool reversed = false) {
        CircuitBuilder b(sheet);
        source = b.Add("TVoltageSource", 60, 100);
        ExampleBuilder::Set(source, "E", 220);
        auto* g = b.Add("TGround", 60, 300);
        ammeter = b.Add("TAmper", 200, 40);
        motor = static_cast<TMotor*>(b.Add("TMotor", 360, 120));
        b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(g, "Connector"));
        b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(ammeter, "Connector1"));
        b.Wire(CircuitBuilder::Pin(ammeter, "Connector2"),
               CircuitBuilder::Pin(motor, reversed ? "Connector2" : "Connector1"));
        b.WireToNode(CircuitBuilder::Pin(motor, reversed ? "Connector1" : "Connector2"),
                     CircuitBuilder::Pin(g, "Connector"));
        ExampleBuilder::Set(motor, "Jd", 0.05);
        ExampleBuilder::Set(motor, "Ian", 10);
        motor->ResetState();
        ExampleBuilder::Set(motor, "Mc", motor->KPhi * 10);
        sheet.RunSettings.T = 0.3;
        sheet.RunSettings.h = 1e-5;
        sheet.RunSettings.GS = 1e-5;
    }
};

TEST(DcMotorRun, ForwardFeedTurnsForwardDrawsFromTheSourceAndBalancesEnergy) {
    RecordingMessages messages;
    MotorRig rig;
    TRunContext context(rig.sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    TMotor& m = *rig.motor;
    TConnector* c1 = m.FindConnector("Connector1");
    TConnector* c2 = m.FindConnector("Connector2");
    TConnector* a1 = rig.ammeter->FindConnector("Connector1");
    TConnector* a2 = rig.ammeter->FindConnector("Connector2");
    const double h = rig.sheet.RunSettings.h;
    double input = 0, copper = 0, load = 0, ammeterCharge = 0, branchCharge = 0;
    double i = 0;
    TRunOptions o;
    o.MaxIterations = 100;
    o.Sample = [&](double t, const std::vector<double>&) {
        if (t == 0) return;
        const double u = c1->GetPhi() - c2->GetPhi();
        // The current the circuit sees in the armature branch, by the branch law.
        i = m.Arm.G * (m.Arm.E + u);
        ammeterCharge += (a1->GetPhi() - a2->GetPhi()) / 0.01 * h;
        branchCharge += i * h;
        input += u * i * h;
        copper += m.Arm.R * i * i * h;
        load += m.Arm.Ml * m.Arm.w * h;
    };
    const TRunResult r = RunSimulation(context, o);
    ASSERT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_GT(m.Arm.w, 100.0);
    EXPECT_GT(ammeterCharge, 0.0);
    EXPECT_NEAR(ammeterCharge, branchCharge, 1e-6 * std::abs(branchCharge));
    const double stored = 0.5 * m.Arm.L * i * i + 0.5 * m.Arm.J * m.Arm.w * m.Arm.w;
    EXPECT_GT(input, 0.0);
    EXPECT_NEAR(copper + stored + load, input, 0.01 * input)
        << "copper " << copper << " stored " << stored << " load " << load;
}

TEST(DcMotorRun, SwappedPinsTurnBackwards) {
    RecordingMessages messages;
    MotorRig rig(true);
    ExampleBuilder::Set(rig.motor, "Mc", 0);
    rig.sheet.RunSettings.T = 0.05;
    TRunContext context(rig.sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.MaxIterations = 100;
    ASSERT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
    EXPECT_LT(rig.motor->Arm.w, -10.0);
}

TEST(DcMotorRun, OpenArmaturePinSeesZeroPotential) {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* source = b.Add("TVoltageSource", 60, 100);
    auto* g = b.Add("TGround", 60, 300);
    auto* motor = static_cast<TMotor*>(b.Add("TMotor", 360, 120));
    b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(g, "Connector"));
    b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(motor, "Connector1"));
    sheet.RunSettings.T = 0.01;
    sheet.RunSettings.h = 1e-4;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.MaxIterations = 100;
    ASSERT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
    // Connector2 open: the armature sees the full 12 V against 0 and turns.
    EXPECT_GT(motor->Arm.w, 0.0);
}

TEST(DcMotorRun, BeginStepStepsOncePerModelTime) {
    Schematic sheet;
    TMotor* m = NewMotor(sheet);
    m->ResetState();
    BoundModel model(sheet);
    model->Time = 0;
    ASSERT_TRUE(m->AdvancesEachStep());
    m->BeginStep();
    EXPECT_EQ(m->Conductance(), 0.0); // nothing stepped at the start time
    model->Time = 1e-4;
    m->BeginStep();
    const double g = m->Conductance();
    const double e = m->Emf();
    const double dt = 1e-4, L = 0.0064, R = 1.35, J = 3e-5, K = m->KPhi;
    EXPECT_DOUBLE_EQ(g, 1.0 / (L / dt + R + dt * K * K / J));
    EXPECT_EQ(e, 0.0);
    m->BeginStep(); // again at the same time: no second step
    EXPECT_EQ(m->Conductance(), g);
    EXPECT_EQ(m->Arm.tm, 1e-4);
    model->Time = 2e-4;
    m->Output();
    EXPECT_EQ(m->Arm.tm, 1e-4); // reading does not step
    m->BeginStep();
    EXPECT_EQ(m->Arm.tm, 2e-4);
}

} // namespace
