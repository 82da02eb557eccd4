#include <gtest/gtest.h>

#include <string>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/power/TAmplifier.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/BoundModel.h"
#include "support/BranchProbe.h"
#include "support/RecordingMessages.h"

namespace {

TAmplifier* NewAmplifier(Schematic& sheet) {
    auto* a = dynamic_cast<TAmplifier*>(CreateElementByName(sheet, "TAmplifier"));
    a->Left = 100;
    a->Top = 100;
    return a;
}

TEST(AmplifierTables, PinsRowsAndMethod) {
    Schematic sheet;
    TAmplifier* a = NewAmplifier(sheet);
    // The pin lines of schematic files follow this order.
    ASSERT_EQ(a->FConnectors.size(), 4u);
    const char* pins[] = {"Uout", "Uin", "GndIn", "GndOut"};
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(a->FConnectors[std::size_t(i)], a->FindConnector(pins[i]));
    ASSERT_EQ(MethodCount(a->ModelMethods), 1);
    EXPECT_STREQ(a->ModelMethods[0], "Идеализированный");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {{"Rin", "Входное сопротивление", 10000, "кОм"},
                {"Rout", "Выходное сопротивление", 100, "Ом"},
                {"K", "Коэффициент усиления", 1, nullptr}};
    for (const ParamDef* table : {a->RefParamDefs, a->ModelParamDefs}) {
        ASSERT_EQ(ParamRowCount(table), 3);
        for (int i = 0; i < 3; ++i) {
            EXPECT_STREQ(table[i].Name, rows[i].name);
            EXPECT_STREQ(table[i].Description, rows[i].description);
            EXPECT_DOUBLE_EQ(table[i].DefaultValue, rows[i].value);
            if (rows[i].unit)
                EXPECT_STREQ(table[i].Units[table[i].DefaultUnit].Text, rows[i].unit);
            else
                EXPECT_EQ(table[i].Units, nullptr);
        }
    }
}

TEST(AmplifierModel, CopiesReferenceRowsAndHoldsTheEmfThroughAStep) {
    Schematic sheet;
    TAmplifier* a = NewAmplifier(sheet);
    a->FindParam("Rin")->Value = 2e5;
    a->FindParam("Rout")->Value = 50;
    a->FindParam("K")->Value = 10;
    EXPECT_TRUE(a->CalcModelParams());
    EXPECT_DOUBLE_EQ(a->ParamValues[3].Value, 2e5);
    EXPECT_DOUBLE_EQ(a->ParamValues[4].Value, 50);
    EXPECT_DOUBLE_EQ(a->ParamValues[5].Value, 10);
    a->ResetState();
    EXPECT_DOUBLE_EQ(a->Gin, 1 / 2e5);
    EXPECT_DOUBLE_EQ(a->Gout, 1 / 50.0);
    EXPECT_DOUBLE_EQ(a->LastTime, -1.0);

    BranchProbe probe(sheet);
    probe.SetPotential(a->FindConnector("GndIn"), 0.5);
    probe.SetPotential(a->FindConnector("Uin"), 1.5);
    probe.SetPotential(a->FindConnector("GndOut"), 0);
    probe.SetPotential(a->FindConnector("Uout"), 0);
    TSimModel& m = sheet.Run();  // bound by the probe
    const TBranchRecord* b = a->GetCircuitModel();
    m.Time = 0;
    a->BeginStep();
    EXPECT_DOUBLE_EQ(EvaluateValue(*a, b[1].E).Value(), 10.0);
    // Later reads in the step keep it, whatever the input does.
    probe.SetPotential(a->FindConnector("Uin"), 3.5);
    EXPECT_DOUBLE_EQ(EvaluateValue(*a, b[1].E).Value(), 10.0);
    a->BeginStep();  // no new step at the same time
    EXPECT_DOUBLE_EQ(EvaluateValue(*a, b[1].E).Value(), 10.0);
    m.Time = 1e-3;
    a->BeginStep();
    EXPECT_DOUBLE_EQ(EvaluateValue(*a, b[1].E).Value(), 30.0);
    EXPECT_DOUBLE_EQ(a->InputVoltage, 3.0);
    // With no load the output branch carries no current at
    // φ(Uout) − φ(GndOut) = −K·(φ(Uin) − φ(GndIn)): the amplifier inverts.
    probe.SetPotential(a->FindConnector("Uout"), -30.0);
    EXPECT_NEAR(BranchProbe::Current(*a, b[1]), 0, 1e-12);
    EXPECT_NEAR(BranchProbe::Current(*a, b[0]), 3.0 / 2e5, 1e-15);
}

TEST(AmplifierModel, UnconnectedInputGivesNoEmf) {
    Schematic sheet;
    TAmplifier* a = NewAmplifier(sheet);
    a->FindParam("K")->Value = 10;
    a->CalcModelParams();
    a->ResetState();
    BoundModel bound(sheet);
    bound->Time = 0;
    a->BeginStep();
    EXPECT_DOUBLE_EQ(EvaluateValue(*a, a->GetCircuitModel()[1].E).Value(), 0.0);
}

TEST(AmplifierRunCheck, RefusesZeroResistances) {
    for (int row : {0, 1}) {
        RecordingMessages messages;
        Schematic sheet;
        TAmplifier* a = NewAmplifier(sheet);
        EXPECT_TRUE(a->CheckBeforeRun());
        a->ParamValues[std::size_t(3 + row)].Value = 0;
        EXPECT_FALSE(a->CheckBeforeRun());
        ASSERT_EQ(messages.Entries.size(), 1u);
        EXPECT_EQ(messages.Entries[0].Kind, "error");
        EXPECT_EQ(messages.Entries[0].Text, std::string("Компонент Amplifier №0: параметр ") +
                                                (row == 0 ? "Rin" : "Rout") +
                                                " должен быть больше нуля.");
    }
}

TEST(PassiveParts, OptocouplerAndCableRowsWithoutModels) {
    Schematic sheet;
    TBaseElement* o = CreateElementByName(sheet, "TOptoPair");
    EXPECT_STREQ(o->DbSection, "OptoPairs");
    ASSERT_EQ(ParamRowCount(o->RefParamDefs), 2);
    EXPECT_STREQ(o->RefParamDefs[0].Name, "Ki");
    EXPECT_STREQ(o->RefParamDefs[0].Description, "Коэф. передачи по току");
    EXPECT_DOUBLE_EQ(o->RefParamDefs[0].DefaultValue, 0.01);
    EXPECT_STREQ(o->RefParamDefs[1].Name, "Iобрпост");
    EXPECT_STREQ(o->RefParamDefs[1].Description, "Постоянный обратный ток");
    EXPECT_DOUBLE_EQ(o->RefParamDefs[1].DefaultValue, 2e-6);
    EXPECT_STREQ(o->RefParamDefs[1].Units[o->RefParamDefs[1].DefaultUnit].Text, "мкА");
    EXPECT_EQ(o->GetCircuitModel(), nullptr);
    TBaseElement* c = CreateElementByName(sheet, "TCable");
    ASSERT_EQ(ParamRowCount(c->RefParamDefs), 1);
    EXPECT_STREQ(c->RefParamDefs[0].Name, "U");
    EXPECT_STREQ(c->RefParamDefs[0].Description, "Разность потенциалов");
    EXPECT_DOUBLE_EQ(c->RefParamDefs[0].DefaultValue, 0.1);
    EXPECT_STREQ(c->RefParamDefs[0].Units[c->RefParamDefs[0].DefaultUnit].Text, "В");
    EXPECT_EQ(c->GetCircuitModel(), nullptr);
}

} // namespace
