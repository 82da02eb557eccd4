#include <gtest/gtest.h>

#include "Simulation/CircuitModel.h"
#include "elements/electrical/TSwitch.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/BranchProbe.h"
#include "support/RecordingMessages.h"

namespace {

TSwitch* NewSwitch(Schematic& sheet) {
    auto* s = dynamic_cast<TSwitch*>(CreateElementByName(sheet, "TSwitch"));
    s->Left = 200;
    s->Top = 200;
    return s;
}

// Reads the branches in the engine's order (main, then control) and returns
// the main branch's conductance as it stands after the control read.
double MainAfterControl(TSwitch& s) {
    const TBranchRecord* b = s.GetCircuitModel();
    EvaluateValue(s, b[0].g).Value();
    EvaluateValue(s, b[1].g).Value();
    return EvaluateValue(s, b[0].g).Value();
}

TEST(SwitchTables, RowsMethodAndDatabase) {
    Schematic sheet;
    TSwitch* s = NewSwitch(sheet);
    EXPECT_STREQ(s->DbSection, "Switchs");
    ASSERT_EQ(MethodCount(s->ModelMethods), 1);
    EXPECT_STREQ(s->ModelMethods[0], "Идеальный ключ");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {{"Uopen", "Напряжение открывания ключа", 2, "В"},
                {"Iopen", "Ток открывания ключа", 0.01, "А"},
                {"Ron", "Сопротивление в откр. состоянии", 1, "Ом"},
                {"Roff", "Сопротивление в закр. состоянии", 1e+09, "МОм"}};
    ASSERT_EQ(ParamRowCount(s->RefParamDefs), 4);
    for (int i = 0; i < 4; ++i) {
        const ParamDef& def = s->RefParamDefs[i];
        EXPECT_STREQ(def.Name, rows[i].name);
        EXPECT_STREQ(def.Description, rows[i].description);
        EXPECT_DOUBLE_EQ(def.DefaultValue, rows[i].value);
        EXPECT_STREQ(def.Units[def.DefaultUnit].Text, rows[i].unit);
    }
    ASSERT_EQ(ParamRowCount(s->ModelParamDefs), 1);
    EXPECT_STREQ(s->ModelParamDefs[0].Name, "Rcontrol");
    EXPECT_STREQ(s->ModelParamDefs[0].Description, "Сопротивление цепи управления ключа");
    EXPECT_TRUE(RowBelongsToMethod(s->ModelParamDefs[0], 0));
}

TEST(SwitchModel, ControlResistanceIsOpeningVoltageOverCurrent) {
    Schematic sheet;
    TSwitch* s = NewSwitch(sheet);
    // A new switch computes its model at once: 2 V / 0.01 A.
    EXPECT_DOUBLE_EQ(s->ParamOf("Rcontrol"), 200.0);
    s->FindParam("Uopen")->Value = 5;
    s->FindParam("Iopen")->Value = 0.002;
    EXPECT_TRUE(s->CalcModelParams());
    EXPECT_DOUBLE_EQ(s->ParamOf("Rcontrol"), 2500.0);
}

TEST(SwitchModel, StartsOffAndTurnsOnAtExactlyTheOpeningVoltage) {
    Schematic sheet;
    TSwitch* s = NewSwitch(sheet);
    s->FindParam("Ron")->Value = 0.5;
    s->FindParam("Roff")->Value = 1e6;
    s->FOn = true;
    s->ResetState();
    EXPECT_FALSE(s->FOn);
    BranchProbe probe(sheet);
    probe.SetPotential(s->FindConnector("Cathode"), 1.0);
    probe.SetPotential(s->FindConnector("Anode"), 4.0);
    probe.SetPotential(s->FindConnector("Control"), 3.0); // exactly Uopen above the cathode
    EXPECT_DOUBLE_EQ(MainAfterControl(*s), 1.0 / 0.5);
    EXPECT_TRUE(s->FOn);
    probe.SetPotential(s->FindConnector("Control"), 2.999999);
    EXPECT_DOUBLE_EQ(MainAfterControl(*s), 1.0 / 1e6);
    // The control branch itself is a plain resistance of Rcontrol.
    EXPECT_NEAR(BranchProbe::Current(*s, s->GetCircuitModel()[1]), 1.999999 / 200.0, 1e-15);
    EXPECT_NEAR(BranchProbe::Current(*s, s->GetCircuitModel()[0]), 3.0 / 1e6, 1e-18);
}

TEST(SwitchModel, TheMainBranchLagsTheControlByOneRead) {
    Schematic sheet;
    TSwitch* s = NewSwitch(sheet);
    s->ResetState();
    BranchProbe probe(sheet);
    probe.SetPotential(s->FindConnector("Cathode"), 0.0);
    probe.SetPotential(s->FindConnector("Control"), 10.0);
    const TBranchRecord* b = s->GetCircuitModel();
    EXPECT_DOUBLE_EQ(EvaluateValue(*s, b[0].g).Value(), 1e-9);
    EvaluateValue(*s, b[1].g).Value();
    EXPECT_DOUBLE_EQ(EvaluateValue(*s, b[0].g).Value(), 1.0);
}

TEST(SwitchModel, UnconnectedControlReadsZero) {
    Schematic sheet;
    TSwitch* s = NewSwitch(sheet);
    s->ResetState();
    BranchProbe probe(sheet);
    probe.SetPotential(s->FindConnector("Anode"), 0.0);
    probe.SetPotential(s->FindConnector("Cathode"), -2.0);
    EXPECT_DOUBLE_EQ(MainAfterControl(*s), 1.0);
    probe.SetPotential(s->FindConnector("Cathode"), -1.999);
    EXPECT_DOUBLE_EQ(MainAfterControl(*s), 1e-9);
}

TEST(SwitchModel, OnlyMethodZeroHasACircuit) {
    Schematic sheet;
    TSwitch* s = NewSwitch(sheet);
    EXPECT_EQ(BranchCount(s->GetCircuitModel()), 2);
    EXPECT_STREQ(s->GetCircuitModel()[1].T1.Pin, "Control");
    EXPECT_STREQ(s->GetCircuitModel()[1].T2.Pin, "Cathode");
    s->MethodIndex = 1;
    EXPECT_EQ(s->GetCircuitModel(), nullptr);
}

TEST(SwitchRunCheck, RefusesNonPositiveResistancesNamingEach) {
    RecordingMessages messages;
    Schematic sheet;
    TSwitch* s = NewSwitch(sheet);
    EXPECT_TRUE(s->CheckBeforeRun());
    s->FindParam("Ron")->Value = 0;
    s->FindParam("Rcontrol")->Value = -5;
    EXPECT_FALSE(s->CheckBeforeRun());
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{
                  "Компонент Switch №0: параметр Ron должен быть больше нуля.",
                  "Компонент Switch №0: параметр Rcontrol должен быть больше нуля."}));
}

} // namespace
