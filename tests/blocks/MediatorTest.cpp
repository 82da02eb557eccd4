#include <gtest/gtest.h>

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "blocks/TVoltageSin.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "params/Units.h"
#include "support/BoundModel.h"
#include "support/RecordingMessages.h"

namespace {

TEST(ControlledSources, VoltageSourceIsAConductanceFromMinusToPlus) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TBaseElement* cv = CreateElementByName(sheet, "TControlledVoltage");
    ASSERT_NE(cv->RefParamDefs, nullptr);
    const ParamDef& r = cv->RefParamDefs[0];
    EXPECT_STREQ(r.Name, "Rвн");
    EXPECT_STREQ(r.Description, "Внутреннее сопротивление");
    EXPECT_EQ(r.Units, Units::Resistance);
    EXPECT_EQ(r.DefaultValue, 0.01);
    EXPECT_EQ(r.DefaultUnit, 0);
    EXPECT_EQ(ParamRowCount(cv->RefParamDefs), 1);

    const TBranchRecord* table = cv->GetCircuitModel();
    ASSERT_EQ(BranchCount(table), 1);
    EXPECT_STREQ(table[0].T1.Pin, "Minus");
    EXPECT_STREQ(table[0].T2.Pin, "Plus");
    cv->FindParam("Rвн")->Value = 4;
    const TValue g = EvaluateValue(*cv, table[0].g);
    EXPECT_FALSE(g.IsDynamic());
    EXPECT_EQ(g.Value(), 0.25);
    EXPECT_EQ(EvaluateValue(*cv, table[0].E).Value(), 0.0);
    EXPECT_EQ(EvaluateValue(*cv, table[0].J).Value(), 0.0);
}

TEST(ControlledSources, CurrentSourceRunsFromPlusToMinusWithoutConductance) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TBaseElement* cc = CreateElementByName(sheet, "TControlledCurrent");
    EXPECT_EQ(cc->RefParamDefs, nullptr);
    const TBranchRecord* table = cc->GetCircuitModel();
    ASSERT_EQ(BranchCount(table), 1);
    EXPECT_STREQ(table[0].T1.Pin, "Plus");
    EXPECT_STREQ(table[0].T2.Pin, "Minus");
    for (const TValueRef* v : {&table[0].g, &table[0].E, &table[0].J})
        EXPECT_EQ(EvaluateValue(*cc, *v).Value(), 0.0);
}

TEST(ControlledSources, InternalResistanceMustBePositive) {
    RecordingMessages messages;
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    CreateElementByName(sheet, "TPlotter");
    TBaseElement* cv = CreateElementByName(sheet, "TControlledVoltage");
    EXPECT_TRUE(cv->CheckBeforeRun());
    cv->FindParam("Rвн")->Value = 0;
    EXPECT_FALSE(cv->CheckBeforeRun());
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{
                  "Компонент ControlledVoltage №1: параметр Rвн должен быть больше нуля."});
}

TEST(VoltageSensor, HasNoBranchAndNoParameters) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TBaseElement* vs = CreateElementByName(sheet, "TVoltageSummator");
    EXPECT_EQ(vs->GetCircuitModel(), nullptr);
    EXPECT_EQ(vs->RefParamDefs, nullptr);
    EXPECT_TRUE(sheet.VoltageSummators.Contains(vs));
}

TEST(SinusoidalSource, ParameterTable) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TBaseElement* e = CreateElementByName(sheet, "TVoltageSin");
    ASSERT_EQ(ParamRowCount(e->RefParamDefs), 4);
    const struct {
        const char* name;
        const char* description;
        const UnitDef* units;
        double value;
        int unit;
    } rows[] = {{"E", "Амплитуда", Units::Voltage, 220, 2},
                {"w", "Частота", Units::AngularFrequency, 100 * std::acos(-1.0), 1},
                {"phi", "Начальная фаза", Units::Phase, 0, 0},
                {"Rvn", "Внутреннее сопротивление", Units::Resistance, 0.01, 0}};
    for (int i = 0; i < 4; ++i) {
        const ParamDef& d = e->RefParamDefs[i];
        EXPECT_STREQ(d.Name, rows[i].name);
        EXPECT_STREQ(d.Description, rows[i].description);
        EXPECT_EQ(d.Units, rows[i].units);
        EXPECT_DOUBLE_EQ(d.DefaultValue, rows[i].value);
        EXPECT_EQ(d.DefaultUnit, rows[i].unit);
    }
    EXPECT_STREQ(Units::Voltage[2].Text, "В");
    EXPECT_STREQ(Units::AngularFrequency[1].Text, "Гц");
}

TEST(SinusoidalSource, BranchFromMinusToPlusWithLiveEmf) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* e = static_cast<TVoltageSin*>(CreateElementByName(sheet, "TVoltageSin"));
    e->FindParam("Rvn")->Value = 0.5;
    e->ResetState();
    const TBranchRecord* table = e->GetCircuitModel();
    ASSERT_EQ(BranchCount(table), 1);
    EXPECT_STREQ(table[0].T1.Pin, "Minus");
    EXPECT_STREQ(table[0].T2.Pin, "Plus");
    const TValue g = EvaluateValue(*e, table[0].g);
    EXPECT_FALSE(g.IsDynamic());
    EXPECT_EQ(g.Value(), 2.0);
    const TValue emf = EvaluateValue(*e, table[0].E);
    EXPECT_TRUE(emf.IsDynamic());
    sheet.Run().Time = 0.005;
    e->BeginStep();
    EXPECT_NEAR(emf.Value(), 220.0, 1e-9);
    sheet.Run().Time = 0.0125;
    e->BeginStep();
    EXPECT_NEAR(emf.Value(), 220 * std::sin(100 * std::acos(-1.0) * 0.0125), 1e-9);
    EXPECT_EQ(EvaluateValue(*e, table[0].J).Value(), 0.0);
}

TEST(SinusoidalSource, EmfIsComputedOnceAStep) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* e = static_cast<TVoltageSin*>(CreateElementByName(sheet, "TVoltageSin"));
    e->ResetState();
    sheet.Run().Time = 0.001;
    e->BeginStep();
    const double first = e->ElectromotiveForce();
    // A change of the working amplitude within the step is not seen until
    // the time moves on.
    e->E = 1000;
    e->BeginStep();
    EXPECT_EQ(e->ElectromotiveForce(), first);
    sheet.Run().Time = 0.002;
    e->BeginStep();
    EXPECT_NEAR(e->ElectromotiveForce(), 1000 * std::sin(100 * std::acos(-1.0) * 0.002), 1e-9);
}

TEST(SinusoidalSource, EveryRunStartsAfresh) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* e = static_cast<TVoltageSin*>(CreateElementByName(sheet, "TVoltageSin"));
    e->ResetState();
    sheet.Run().Time = 0.9;
    e->BeginStep();
    e->ElectromotiveForce();
    e->ResetState();
    EXPECT_EQ(e->LastTime, -1.0);
    EXPECT_EQ(e->Emf, 0.0);
    sheet.Run().Time = 0.0;
    e->BeginStep();
    EXPECT_NEAR(e->ElectromotiveForce(), 0.0, 1e-12);
    EXPECT_EQ(e->LastTime, 0.0);
}

TEST(SinusoidalSource, InternalResistanceMustBePositive) {
    RecordingMessages messages;
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TBaseElement* e = CreateElementByName(sheet, "TVoltageSin");
    e->FindParam("Rvn")->Value = -1;
    EXPECT_FALSE(e->CheckBeforeRun());
    EXPECT_EQ(
        messages.Texts(),
        std::vector<std::string>{"Компонент VoltageSin №0: параметр Rvn должен быть больше нуля."});
}

} // namespace
