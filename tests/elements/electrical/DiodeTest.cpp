#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Simulation/CircuitModel.h"
#include "elements/electrical/TDiode.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"
#include "support/BranchProbe.h"
#include "support/RecordingMessages.h"

namespace {

TDiode* NewDiode(Schematic& sheet) {
    auto* d = dynamic_cast<TDiode*>(CreateElementByName(sheet, "TDiode"));
    d->Left = 100;
    d->Top = 100;
    return d;
}

// A diode whose model rows keep the table defaults (entered by hand).
TDiode* HandModelDiode(Schematic& sheet, int method) {
    TDiode* d = NewDiode(sheet);
    d->AutoModel = false;
    d->MethodIndex = method;
    d->ResetParams();
    d->ResetState();
    return d;
}

struct DiodeBench {
    TDiode* diode;
    BranchProbe probe;
    explicit DiodeBench(TDiode* d) : diode(d), probe(d->Sheet()) {}
    // Current from anode to cathode at the voltage v across the diode.
    double CurrentAt(double v) {
        probe.SetPotential(diode->FindConnector("Anode"), v + 5.0);
        probe.SetPotential(diode->FindConnector("Cathode"), 5.0);
        return BranchProbe::Current(*diode, diode->GetCircuitModel()[0]);
    }
};

TEST(DiodeTables, ReferenceRowsCarryDescriptionsUnitsAndDefaults) {
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    EXPECT_STREQ(d->DbSection, "Diodes");
    ASSERT_EQ(MethodCount(d->ModelMethods), 2);
    EXPECT_STREQ(d->ModelMethods[0], "Кусочно-линейный безинерционный");
    EXPECT_STREQ(d->ModelMethods[1], "Экспоненциальный безинерционный");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {{"Uобр", "Обратное напряжение", 200, "В"},
                {"Iобр", "Обратный ток", 1e-05, "мкА"},
                {"Uпр", "Прямое напряжение", 1, "В"},
                {"Iпр", "Прямой ток (ном.)", 10, "А"},
                {"Cд", "Ёмкость перехода", 5.5e-10, "пФ"},
                {"Тип", "Тип кристалла", 0, "Si"},
                {"Tпмакс", "Температура перехода (ном.)", 423, "К"},
                {"Tpn", "Температура перехода (раб.)", 398, "К"}};
    ASSERT_EQ(ParamRowCount(d->RefParamDefs), 8);
    for (int i = 0; i < 8; ++i) {
        const ParamDef& def = d->RefParamDefs[i];
        EXPECT_STREQ(def.Name, rows[i].name);
        EXPECT_STREQ(def.Description, rows[i].description);
        EXPECT_DOUBLE_EQ(def.DefaultValue, rows[i].value);
        ASSERT_NE(def.Units, nullptr) << def.Name;
        EXPECT_STREQ(def.Units[def.DefaultUnit].Text, rows[i].unit) << def.Name;
    }
    EXPECT_TRUE(IsEnumerated(d->RefParamDefs[5]));
}

TEST(DiodeTables, ModelRowsBelongToTheirMethods) {
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    // Which of the two offered methods shows each row.
    const struct {
        const char* name;
        double value;
        bool linear, exponential;
    } rows[] = {{"Fk", 0.7, false, false},         {"Upr_c", 1, true, true},
                {"Iprr", 10, true, false},         {"isn", 1e-05, false, false},
                {"isr", 1e-05, false, true},       {"rб", 20, false, false},
                {"m", 1.5, false, true},           {"n", 1, false, false},
                {"tp", 1e-08, false, false},       {"Phi_t", 0.0343, false, false},
                {"Phi_nom", 0.0343, false, false}, {"Uo", 0.728, true, false},
                {"Io", 0.1, true, false},          {"Tpn_c", 398, false, true},
                {"Uобр_c", 200, true, true},       {"Iобр_c", 1e-05, true, true}};
    ASSERT_EQ(ParamRowCount(d->ModelParamDefs), 16);
    for (int i = 0; i < 16; ++i) {
        const ParamDef& def = d->ModelParamDefs[i];
        EXPECT_STREQ(def.Name, rows[i].name);
        EXPECT_DOUBLE_EQ(def.DefaultValue, rows[i].value) << def.Name;
        EXPECT_EQ(RowBelongsToMethod(def, 0), rows[i].linear) << def.Name;
        EXPECT_EQ(RowBelongsToMethod(def, 1), rows[i].exponential) << def.Name;
    }
    EXPECT_STREQ(d->ModelParamDefs[1].Description, "Прямое напряжение");
    EXPECT_STREQ(d->ModelParamDefs[11].Description, "Напряжение излома ВАХ");
    EXPECT_STREQ(d->ModelParamDefs[12].Description, "Ток излома ВАХ");
}

// Reference values worked out separately from the datasheet defaults
// (Uпр 1 V, Iпр 10 A, Tпмакс 423 K, Tpn 398 K, m 1.5, silicon):
// k·T/q per kelvin 8.625e-5, Phi_nom 0.03648375, Phi_t 0.0343275,
// isn 1.15917e-7, isr 1.32871e-8, Iprr 3.61214, Uo 0.840442, Io 0.0722428.
TEST(DiodeModelParams, PiecewiseLinearMethodFromTheDatasheet) {
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    ASSERT_TRUE(d->CalcModelParams());
    EXPECT_NEAR(d->ParamOf("Phi_nom"), 0.03648375, 1e-12);
    EXPECT_NEAR(d->ParamOf("Phi_t"), 0.0343275, 1e-12);
    EXPECT_NEAR(d->ParamOf("isn") / 1.15917128e-7, 1.0, 1e-7);
    EXPECT_NEAR(d->ParamOf("isr") / 1.32870593e-8, 1.0, 1e-7);
    EXPECT_NEAR(d->ParamOf("Iprr"), 3.61213900, 1e-7);
    EXPECT_NEAR(d->ParamOf("Uo"), 0.84044194, 1e-7);
    EXPECT_NEAR(d->ParamOf("Io"), 0.07224278, 1e-7);
    EXPECT_DOUBLE_EQ(d->ParamOf("Upr_c"), 1.0);
    EXPECT_DOUBLE_EQ(d->ParamOf("Uобр_c"), 200.0);
    EXPECT_DOUBLE_EQ(d->ParamOf("Iобр_c"), 1e-05);
    // Tpn_c belongs to the other method and keeps its value.
    EXPECT_DOUBLE_EQ(d->ParamOf("Tpn_c"), 398.0);
}

TEST(DiodeModelParams, GermaniumHalvesItsSaturationCurrentEverySixKelvin) {
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    d->FindParam("Тип")->Unit = 1;
    ASSERT_TRUE(d->CalcModelParams());
    EXPECT_NEAR(d->ParamOf("isr") / 6.45440127e-9, 1.0, 1e-7);
}

TEST(DiodeModelParams, ExponentialMethodCopiesTheWorkingTemperature) {
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    d->MethodIndex = 1;
    d->FindParam("Tpn")->Value = 350;
    d->FindParam("Uo")->Value = 0.5;
    ASSERT_TRUE(d->CalcModelParams());
    EXPECT_DOUBLE_EQ(d->ParamOf("Tpn_c"), 350.0);
    EXPECT_NEAR(d->ParamOf("Phi_t"), 350 * 8.625e-5, 1e-12);
    // The knee belongs to method 0 and stays as it was.
    EXPECT_DOUBLE_EQ(d->ParamOf("Uo"), 0.5);
}

TEST(DiodeModelParams, ZeroDatasheetCurrentsRefuseTheLinearMethodAndChangeNothing) {
    for (const char* name : {"Iпр", "Iобр"}) {
        Schematic sheet;
        TDiode* d = NewDiode(sheet);
        d->FindParam(name)->Value = 0;
        const double uo = d->ParamOf("Uo"), iprr = d->ParamOf("Iprr");
        EXPECT_FALSE(d->CalcModelParams()) << name;
        EXPECT_EQ(d->ParamOf("Uo"), uo);
        EXPECT_EQ(d->ParamOf("Iprr"), iprr);
    }
}

TEST(DiodeCircuitModel, TheTableFollowsTheMethod) {
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    ASSERT_NE(d->GetCircuitModel(), nullptr);
    EXPECT_EQ(BranchCount(d->GetCircuitModel()), 1);
    const TBranchRecord* linear = d->GetCircuitModel();
    d->MethodIndex = 1;
    ASSERT_NE(d->GetCircuitModel(), nullptr);
    EXPECT_NE(d->GetCircuitModel(), linear);
    EXPECT_EQ(d->GetCircuitModel()->E.Kind, 0);
    EXPECT_STREQ(d->GetCircuitModel()->T1.Pin, "Anode");
    EXPECT_STREQ(d->GetCircuitModel()->T2.Pin, "Cathode");
    d->MethodIndex = 2;
    EXPECT_EQ(d->GetCircuitModel(), nullptr);
}

TEST(PiecewiseLinearDiode, SegmentsMeetAtTheKneeAndPassTheDatasheetPoints) {
    Schematic sheet;
    DiodeBench b(HandModelDiode(sheet, 0));
    EXPECT_DOUBLE_EQ(b.diode->Rl, 0.728 / 0.1);
    EXPECT_DOUBLE_EQ(b.diode->Rf, (1 - 0.728) / (10 - 0.1));
    EXPECT_DOUBLE_EQ(b.diode->Rr, 200 / 1e-05);
    EXPECT_NEAR(b.CurrentAt(0.728), 0.1, 1e-12);
    EXPECT_NEAR(b.CurrentAt(0.728 - 1e-9), 0.1, 1e-7);
    EXPECT_NEAR(b.CurrentAt(1.0), 10.0, 1e-12);
    EXPECT_NEAR(b.CurrentAt(-200.0), -1e-05, 1e-15);
    EXPECT_NEAR(b.CurrentAt(0.364), 0.05, 1e-12);
    EXPECT_EQ(b.CurrentAt(0.0), 0.0);
}

TEST(ExponentialDiode, FollowsTheExponentialBetweenTheLowPointAndUpr) {
    Schematic sheet;
    TDiode* d = HandModelDiode(sheet, 1);
    DiodeBench b(d);
    const double mVt = 1.5 * 398 * 8.625e-5;
    const double Is = 1e-05;
    EXPECT_DOUBLE_EQ(d->U1, 0.001);
    EXPECT_NEAR(d->I1, Is * std::exp(0.001 / mVt), 1e-18);
    // ResetState continues the exponential at Upr with the parameter Iprr.
    EXPECT_NEAR(d->ParamOf("Iprr"), Is * std::exp(1.0 / mVt), 1e-9);
    for (double v : {0.001, 0.01, 0.2, 0.5, 0.9, 1.0})
        EXPECT_NEAR(b.CurrentAt(v) / (Is * std::exp(v / mVt)), 1.0, 1e-12) << v;
}

TEST(ExponentialDiode, StraightLinesBelowTheLowPointAndAboveUpr) {
    Schematic sheet;
    TDiode* d = HandModelDiode(sheet, 1);
    DiodeBench b(d);
    const double mVt = 1.5 * 398 * 8.625e-5;
    const double Is = 1e-05, I1 = Is * std::exp(0.001 / mVt);
    // Half-way to (U1, I1) on the line through the origin.
    EXPECT_NEAR(b.CurrentAt(0.0005), I1 / 2, 1e-15);
    // Above Upr the tangent at Upr.
    const double iUpr = Is * std::exp(1.0 / mVt), slope = iUpr / mVt;
    EXPECT_NEAR(b.CurrentAt(1.2), iUpr + slope * 0.2, 1e-6 * iUpr);
    EXPECT_NEAR(b.CurrentAt(1.0 + 1e-9), iUpr, 1e-6 * iUpr);
    EXPECT_NEAR(b.CurrentAt(-50.0), -50.0 / (200 / 1e-05), 1e-15);
}

TEST(DiodeFile, AnUnofferedMethodIsReadAsTheFirstWithAWarning) {
    RecordingMessages messages;
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    const std::vector<std::string> lines = {"Diode:10,20,0,0,0,1(0,)[2]"};
    EXPECT_EQ(d->LoadFromStrings(":10,20,0,0,0,1(0,)[2]", lines, 0), 1);
    EXPECT_EQ(d->MethodIndex, 0);
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "warning");
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Diode №0: модель диода № 2 не поддерживается; используется "
              "кусочно-линейная безинерционная модель.");
    ASSERT_NE(d->GetCircuitModel(), nullptr);
    // The model rows are those of method 0 again.
    EXPECT_NEAR(d->ParamOf("Uo"), 0.84044194, 1e-7);
}

TEST(DiodeFile, TheOfferedMethodsLoadSilently) {
    RecordingMessages messages;
    Schematic sheet;
    TDiode* d = NewDiode(sheet);
    const std::vector<std::string> lines = {"Diode:10,20,0,0,0,1(0,)[1]"};
    d->LoadFromStrings(":10,20,0,0,0,1(0,)[1]", lines, 0);
    EXPECT_EQ(d->MethodIndex, 1);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(DiodeRunCheck, RefusesParametersThatDivideByZero) {
    const struct {
        int method;
        const char* name;
        double value;
        const char* text;
    } cases[] = {
        {0, "Io", 0, "Компонент Diode №0: параметр Io должен быть больше нуля."},
        {0, "Uo", -0.1, "Компонент Diode №0: параметр Uo должен быть больше нуля."},
        {0, "Iобр_c", 0, "Компонент Diode №0: параметр Iобр_c должен быть больше нуля."},
        {1, "Uобр_c", 0, "Компонент Diode №0: параметр Uобр_c должен быть больше нуля."},
        {0, "Iprr", 0.1, "Компонент Diode №0: прямой ток Iprr должен быть больше тока излома Io."},
        {0, "Upr_c", 0.728,
         "Компонент Diode №0: прямое напряжение Upr_c должно быть больше напряжения излома Uo."},
        {1, "m", 0, "Компонент Diode №0: параметр m должен быть больше нуля."},
        {1, "Tpn_c", 0, "Компонент Diode №0: параметр Tpn_c должен быть больше нуля."},
        {1, "isr", 0, "Компонент Diode №0: параметр isr должен быть больше нуля."},
        {1, "m", 1e-3,
         "Компонент Diode №0: ток при прямом напряжении Upr_c слишком велик (переполнение "
         "экспоненты)."},
    };
    for (const auto& c : cases) {
        RecordingMessages messages;
        Schematic sheet;
        TDiode* d = HandModelDiode(sheet, c.method);
        EXPECT_TRUE(d->CheckBeforeRun());
        d->FindParam(c.name)->Value = c.value;
        EXPECT_FALSE(d->CheckBeforeRun()) << c.name;
        ASSERT_EQ(messages.Entries.size(), 1u) << c.name;
        EXPECT_EQ(messages.Entries[0].Kind, "error");
        EXPECT_EQ(messages.Entries[0].Text, c.text);
    }
}

} // namespace
