#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/machines/TMechanical.h"
#include "elements/machines/TNVarMotor.h"
#include "elements/machines/TVarMotor.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/BoundModel.h"
#include "support/CircuitBuilder.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"

namespace {

template <class T> T* New(Schematic& sheet, const char* cls) {
    return dynamic_cast<T*>(CreateElementByName(sheet, cls));
}

// Runs the context's schematic; its model stays with the context.
bool RunFor(TRunContext& context, double T, double h) {
    Schematic& sheet = context.Sheet();
    sheet.RunSettings.T = T;
    sheet.RunSettings.h = h;
    sheet.RunSettings.GS = T / 10;
    if (!PrepareRun(context)) return false;
    TRunOptions o;
    o.MaxIterations = 100;
    return RunSimulation(context, o).Status == TRunResult::Outcome::Finished;
}

// A source of `volts` between two pins of an element: + on `plus`.
TBaseElement* Feed(CircuitBuilder& b, TBaseElement* e, const char* plus, const char* minus,
                   double volts, int x) {
    TBaseElement* source = b.Add("TVoltageSource", x, 100);
    ExampleBuilder::Set(source, "E", volts);
    b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(e, plus));
    b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(e, minus));
    return source;
}

TEST(MechanicalBlock, TablesListsAndTachogeneratorOutputs) {
    Schematic sheet;
    auto* m = New<TMechanical>(sheet, "TMechanical");
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->DbSection, "Mechanicals");
    ASSERT_EQ(MethodCount(m->ModelMethods), 6);
    EXPECT_STREQ(m->ModelMethods[4], "Модель упругого момента");
    EXPECT_STREQ(m->ModelMethods[5], "Модель суммарного момента");
    EXPECT_EQ(m->FindParam("Kem")->Value, 0.037);
    EXPECT_STREQ(m->FindParam("Kem")->Def->Units[0].Text, "B c/рад");
    EXPECT_EQ(m->FindParam("Rvn")->Value, 2000);
    EXPECT_STREQ(m->FindParam("Rvn")->Def->Units[m->FindParam("Rvn")->Unit].Text, "кОм");
    const ParamValue* wnom = m->FindParam("Wnom");
    EXPECT_EQ(wnom->Value, 270);
    EXPECT_TRUE(RowBelongsToMethod(*wnom->Def, 3));
    EXPECT_TRUE(RowBelongsToMethod(*wnom->Def, 5));
    EXPECT_FALSE(RowBelongsToMethod(*wnom->Def, 4));
    const UnitDef* out = m->FindParam("vv")->Def->Units;
    ASSERT_EQ(UnitCount(out), 3);
    EXPECT_STREQ(out[0].Text, "V,рад/с");
    EXPECT_STREQ(out[1].Text, "V,об/мин");
    EXPECT_STREQ(out[2].Text, "Момент");

    // vv 2 drives the tachogenerator with Koef times the load torque.
    ExampleBuilder::Set(m, "Mc", 3);
    ExampleBuilder::Set(m, "Koef", 0.5);
    m->FindParam("vv")->Unit = 2;
    m->ResetState();
    BoundModel bound(sheet);
    bound->Time = 1e-4;
    m->BeginStep();
    EXPECT_DOUBLE_EQ(m->TachoEmf(), 0.5 * 3);
    EXPECT_DOUBLE_EQ(m->TachoConductance(), 1.0 / 2000);
}

TEST(MechanicalBlock, ForwardArmatureVoltageTurnsForwardAndTheTachoReadsTheSpeed) {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* m = static_cast<TMechanical*>(b.Add("TMechanical", 300, 100));
    TBaseElement* source = Feed(b, m, "Connector1", "Connector2", 12, 100);
    auto* g = b.Add("TGround", 100, 300);
    b.WireToNode(CircuitBuilder::Pin(g, "Connector"), CircuitBuilder::Pin(source, "Minus"));
    // The tachogenerator loaded by a resistor equal to its own 2 kΩ.
    auto* load = b.Add("TResistor", 500, 100);
    ExampleBuilder::Set(load, "R", 2000);
    b.Wire(CircuitBuilder::Pin(m, "Connector3"), CircuitBuilder::Pin(load, "Connector1"));
    auto* g2 = b.Add("TGround", 500, 300);
    b.Wire(CircuitBuilder::Pin(load, "Connector2"), CircuitBuilder::Pin(g2, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(m, "Connector4"), CircuitBuilder::Pin(load, "Connector2"));
    ExampleBuilder::Set(m, "Jd", 2e-5);
    TRunContext run(sheet, "");
    ASSERT_TRUE(RunFor(run, 0.5, 1e-5));
    EXPECT_TRUE(messages.Entries.empty());
    // No load: the back EMF takes the whole 12 V less the source's drop.
    EXPECT_NEAR(m->Arm.w, 12 / 0.037, 0.5);
    EXPECT_GT(m->Arm.w, 0.0);
    const double tacho =
        m->FindConnector("Connector3")->GetPhi() - m->FindConnector("Connector4")->GetPhi();
    EXPECT_NEAR(tacho, 1.0 * m->Arm.w / 2, 1e-3);
}

TEST(MechanicalBlock, RefusesTachoResistanceAndReferenceSpeedThatDivide) {
    RecordingMessages messages;
    Schematic sheet;
    auto* m = New<TMechanical>(sheet, "TMechanical");
    m->FindParam("Rvn")->Value = 0;
    TRunContext context(sheet, "");
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Mechanical №0: параметр Rvn должен быть больше нуля.");
    m->FindParam("Rvn")->Value = 2000;
    m->FindParam("Wnom")->Value = 0;
    messages.Clear();
    EXPECT_TRUE(PrepareRun(context)); // the constant model does not divide by it
    m->MethodIndex = 3;
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Mechanical №0: параметр Wnom должен быть больше нуля.");
}

TEST(VarMotor, FieldRisesWithItsTimeConstantAndSetsTheNoLoadSpeed) {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* m = static_cast<TVarMotor*>(b.Add("TVarMotor", 300, 100));
    ExampleBuilder::Set(m, "Rb", 220);
    ExampleBuilder::Set(m, "Lb", 2.2);
    ExampleBuilder::Set(m, "Jd", 0.01);
    ExampleBuilder::Set(m, "Ian", 10);
    m->ResetState();
    EXPECT_DOUBLE_EQ(m->C, (220 - 1.35 * 10) / ((220.0 / 220) * 157));
    TBaseElement* field = Feed(b, m, "Connector3", "Connector4", 110, 100);
    TBaseElement* arm = Feed(b, m, "Connector1", "Connector2", 220, 600);
    auto* g = b.Add("TGround", 100, 300);
    b.WireToNode(CircuitBuilder::Pin(g, "Connector"), CircuitBuilder::Pin(field, "Minus"));
    b.Bridge(CircuitBuilder::Pin(arm, "Minus"), CircuitBuilder::Pin(field, "Minus"));
    // One field time constant: i_f = (110/220.01)·(1 − 1/e).
    TRunContext run(sheet, "");
    ASSERT_TRUE(RunFor(run, 0.01, 1e-5));
    EXPECT_NEAR(m->iF, 110 / 220.01 * (1 - std::exp(-1.0)), 2e-4);
    EXPECT_GT(m->Arm.i, 0.0);
    ASSERT_TRUE(RunFor(run, 2, 1e-5));
    EXPECT_TRUE(messages.Entries.empty());
    const double iF = 110 / 220.01;
    EXPECT_NEAR(m->iF, iF, 1e-6);
    EXPECT_NEAR(m->Arm.w, 220 / (m->C * iF), 0.002 * 220 / (m->C * iF));
    // vv 3 is the speed, vv 1 the torque c·i_f·i.
    m->Choice = 3;
    EXPECT_EQ(m->Output(), m->Arm.w);
    m->Choice = 1;
    EXPECT_DOUBLE_EQ(m->Output(), m->C * m->iF * m->Arm.i);
}

TEST(VarMotor, RefusesFieldResistanceAndInductance) {
    for (const char* name : {"Rb", "Lb"}) {
        RecordingMessages messages;
        Schematic sheet;
        New<TVarMotor>(sheet, "TVarMotor")->FindParam(name)->Value = -1;
        TRunContext context(sheet, "");
        EXPECT_FALSE(PrepareRun(context));
        ASSERT_EQ(messages.Entries.size(), 1u);
        EXPECT_EQ(messages.Entries[0].Text, std::string("Компонент VarMotor №0: параметр ") + name +
                                                " должен быть больше нуля.");
    }
}

// P(x) = b as the quadratic (0.0049 − 0.016b)x² + (0.056 + 0.05b)x + 1.376 − b = 0.
double KneeRoot(double b) {
    const double A = 0.0049 - 0.016 * b, B = 0.056 + 0.05 * b, C = 1.376 - b;
    const double d = std::sqrt(B * B - 4 * A * C);
    for (double x : {(-B + d) / (2 * A), (-B - d) / (2 * A)})
        if (x > 0 && x < 35) return x;
    return -1;
}

TEST(NVarMotor, AutoCalculationFindsTheKneeOfTheCurve) {
    Schematic sheet;
    auto* m = New<TNVarMotor>(sheet, "TNVarMotor");
    ASSERT_NE(m, nullptr);
    EXPECT_STREQ(m->DbSection, "NVarMotors");
    EXPECT_EQ(m->FindParam("vv")->Unit, 4);
    EXPECT_EQ(m->FindParam("Lb")->Unit, 2);
    ASSERT_TRUE(m->CalcModelParams());
    const double b = std::tan(90 - 32.29 * 1.5);
    const double x = KneeRoot(b);
    ASSERT_GT(x, 0);
    EXPECT_NEAR(m->ParamOf("Fpnom"), x, 0.05);
    EXPECT_NEAR(m->ParamOf("Fmnom"), x * b, 0.05);
    EXPECT_DOUBLE_EQ(m->ParamOf("Ibn"), 110.0 / 1160);
    EXPECT_DOUBLE_EQ(m->ParamOf("PsBnom"), 24 * 110.0 / 1160);
    EXPECT_DOUBLE_EQ(m->ParamOf("PsiAdnom"), (110 - 15.2 * 0.9) / 3800);
    EXPECT_DOUBLE_EQ(m->ParamOf("Km"), 15.2 * 24 / (1160 * 0.09));

    // Outside 1.1…1.8, and inside where tan in radians puts the line above
    // the start of the curve (no root in [0, 35]), nothing changes.
    for (double knas : {1.9, 1.05, 1.1}) {
        for (ParamValue& v : m->ParamValues)
            v.Value = v.Def->DefaultValue;
        m->FindParam("Knas")->Value = knas;
        EXPECT_FALSE(m->CalcModelParams()) << knas;
        EXPECT_EQ(m->ParamOf("Fmnom"), 0.0) << knas;
        EXPECT_EQ(m->ParamOf("Km"), 15.0) << knas;
    }
    double root = 0;
    EXPECT_TRUE(NominalMagnetisation(1.5, root));
    EXPECT_FALSE(NominalMagnetisation(1.1, root));
}

TEST(NVarMotor, NominalFieldAndArmatureRunUpToTheSpeedOfTheCurve) {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* m = static_cast<TNVarMotor*>(b.Add("TNVarMotor", 300, 100));
    TBaseElement* field = Feed(b, m, "Connector3", "Connector4", 110, 100);
    TBaseElement* arm = Feed(b, m, "Connector1", "Connector2", 110, 600);
    auto* g = b.Add("TGround", 100, 300);
    b.WireToNode(CircuitBuilder::Pin(g, "Connector"), CircuitBuilder::Pin(field, "Minus"));
    b.Bridge(CircuitBuilder::Pin(arm, "Minus"), CircuitBuilder::Pin(field, "Minus"));
    TRunContext run(sheet, "");
    ASSERT_TRUE(RunFor(run, 6, 1e-4));
    EXPECT_TRUE(messages.Entries.empty());
    // Settled field: i_f = 110/1160.01, Φ on the curve, kΦ = PsiAdnom·Φ/PsBnom.
    const double iF = 110 / 1160.01;
    const double x = m->ParamOf("Fpnom") * iF / m->ParamOf("Ibn");
    const double phi = x * MagnetisationPolynomial(x);
    const double k = m->ParamOf("PsiAdnom") * phi / m->ParamOf("PsBnom");
    EXPECT_NEAR(m->iF, iF, 1e-5);
    EXPECT_NEAR(m->KPhi, k, 1e-4 * k);
    EXPECT_GT(m->Arm.w, 0.0);
    EXPECT_NEAR(m->Arm.w, 110 / k, 0.01 * 110 / k);
    // The torque reported is the one that turns the shaft, kΦ·i.
    m->Choice = 1;
    EXPECT_DOUBLE_EQ(m->Output(), m->KPhi * m->Arm.i);
    m->Choice = 2;
    EXPECT_DOUBLE_EQ(m->Output(), m->KPhi * m->Arm.i - m->Arm.Ml);
}

} // namespace
