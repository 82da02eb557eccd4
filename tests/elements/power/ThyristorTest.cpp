#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/power/TThyristor.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/BranchProbe.h"
#include "support/RecordingMessages.h"

namespace {

TThyristor* NewThyristor(Schematic& sheet) {
    auto* t = dynamic_cast<TThyristor*>(CreateElementByName(sheet, "TThyristor"));
    t->Left = 100;
    t->Top = 100;
    return t;
}

// Model rows at the table defaults, as if entered by hand.
TThyristor* HandModelThyristor(Schematic& sheet, int method) {
    TThyristor* t = NewThyristor(sheet);
    t->AutoModel = false;
    t->MethodIndex = method;
    t->ResetParams();
    t->ResetState();
    return t;
}

struct ThyristorBench {
    TThyristor* t;
    BranchProbe probe;
    explicit ThyristorBench(TThyristor* th) : t(th), probe(th->Sheet()) {
        probe.SetPotential(t->FindConnector("Cathode"), 2.0);
        SetGate(0);
    }
    void SetAnode(double v) { probe.SetPotential(t->FindConnector("Anode"), 2.0 + v); }
    void SetGate(double v) { probe.SetPotential(t->FindConnector("Control"), 2.0 + v); }
    // The main branch's current as read by the next residual evaluation (the
    // model time moves on, so even unchanged potentials make a new one).
    double MainCurrent() {
        t->Sheet().Run().Time += 1e-5;
        return BranchProbe::Current(*t, t->GetCircuitModel()[0]);
    }
    double CurrentAt(double v) {
        SetAnode(v);
        return MainCurrent();
    }
};

TEST(ThyristorTables, RowsMasksMethodsAndDatabase) {
    Schematic sheet;
    TThyristor* t = NewThyristor(sheet);
    EXPECT_STREQ(t->DbSection, "Thyristors");
    ASSERT_EQ(MethodCount(t->ModelMethods), 2);
    EXPECT_STREQ(t->ModelMethods[0], "Кусочно-линейный безинерционный");
    EXPECT_STREQ(t->ModelMethods[1], "Экспоненциальный безинерционный");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } refs[] = {{"Uобр", "Обратное напряжение", 200, "В"},
                {"Iобр", "Обратный ток", 1e-05, "мкА"},
                {"Uос", "Напряжение в открытом состоянии", 1, "В"},
                {"Iос", "Ток в открытом состоянии (ном.)", 4, "А"},
                {"Uу", "Отпирающее напряжение", 2, "В"},
                {"Iу", "Отпирающий ток", 0.01, "мА"},
                {"Iуд", "Ток удержания", 0, "мкА"},
                {"Cд", "Ёмкость перехода", 5.5e-10, "пФ"},
                {"Тип", "Тип кристалла", 0, "Si"},
                {"Tпмакс", "Температура перехода (ном.)", 423, "К"},
                {"Tpn", "Температура перехода (раб.)", 398, "К"}};
    ASSERT_EQ(ParamRowCount(t->RefParamDefs), 11);
    for (int i = 0; i < 11; ++i) {
        const ParamDef& def = t->RefParamDefs[i];
        EXPECT_STREQ(def.Name, refs[i].name);
        EXPECT_STREQ(def.Description, refs[i].description);
        EXPECT_DOUBLE_EQ(def.DefaultValue, refs[i].value) << refs[i].name;
        EXPECT_STREQ(def.Units[def.DefaultUnit].Text, refs[i].unit) << refs[i].name;
    }
    const struct {
        const char* name;
        const char* description;
        double value;
        unsigned mask;
    } models[] = {{"Fk", "Разность потенциалов", 0.7, 4},
                  {"Uос_c", "Напряжение в открытом состоянии", 1, 3},
                  {"Iprr", "Ток в открытом состоянии (раб.)", 10, 3},
                  {"Uу_c", "Отпирающее напряжение", 2, 1},
                  {"Iу_c", "Отпирающий ток", 0.01, 3},
                  {"isn", "Обратный ток насыщения (ном.)", 1e-05, 0},
                  {"isr", "Обратный ток насыщения (раб.)", 1e-05, 2},
                  {"rб", "Сопротивление базы", 20, 4},
                  {"m", "Коэффициент качества pn-перехода", 1.5, 6},
                  {"n", "Степень баръерной ёмкости", 1, 4},
                  {"tp", "Время жизни дырок", 1e-08, 4},
                  {"Phi_nom", "Тепловой потенциал (ном.)", 0.0343, 0},
                  {"Phi_t", "Тепловой потенциал (раб.)", 0.0343, 2},
                  {"Uo", "Напряжение излома ВАХ", 0.728, 1},
                  {"Io", "Ток излома ВАХ", 0.1, 1},
                  {"Iуд_c", "Ток удержания", 0, 3},
                  {"Tpn_c", "Температура перехода (раб.)", 398, 2},
                  {"Uобр_c", "Обратное напряжение", 200, 3},
                  {"Iобр_c", "Обратный ток", 1e-05, 3}};
    ASSERT_EQ(ParamRowCount(t->ModelParamDefs), 19);
    for (int i = 0; i < 19; ++i) {
        const ParamDef& def = t->ModelParamDefs[i];
        EXPECT_STREQ(def.Name, models[i].name);
        EXPECT_STREQ(def.Description, models[i].description);
        EXPECT_DOUBLE_EQ(def.DefaultValue, models[i].value) << models[i].name;
        EXPECT_EQ(def.MethodMask, models[i].mask) << models[i].name;
    }
    const ParamDef& tp = t->ModelParamDefs[10];
    EXPECT_STREQ(tp.Units[tp.DefaultUnit].Text, "нс");
}

TEST(ThyristorModel, CalcModelParamsDerivesTheRowsForEachMethod) {
    Schematic sheet;
    TThyristor* t = NewThyristor(sheet);
    // Working temperature 25 K below the rated one: silicon halves its
    // saturation current every 8 K.
    ASSERT_TRUE(t->CalcModelParams());
    const double phiNom = 423 * 1.38e-23 * 6.25e18, phiT = 398 * 1.38e-23 * 6.25e18;
    EXPECT_NEAR(t->ParamOf("Phi_nom"), 0.03648375, 1e-9);
    EXPECT_NEAR(t->ParamOf("Phi_t"), 0.03432750, 1e-9);
    const double isn = 4.0 / std::exp(1.0 / (1.5 * phiNom));
    EXPECT_NEAR(t->ParamOf("isn") / isn, 1.0, 1e-12);
    EXPECT_NEAR(t->ParamOf("isr") / isn, std::pow(0.5, 25.0 / 8.0), 1e-12);
    // The on-state current at the working temperature through Uос.
    EXPECT_NEAR(t->ParamOf("Iprr"), t->ParamOf("isr") * std::exp(1.0 / (1.5 * phiT)), 1e-9);
    // Knee by hand: A = 1.5·0.0343275, (1 − 2.4560115·A − 0.5·A·ln(1/A)) / (1 − A).
    EXPECT_NEAR(t->ParamOf("Uo"), 0.84044194, 1e-7);
    EXPECT_NEAR(t->ParamOf("Io"), 0.02 * t->ParamOf("Iprr"), 1e-12);

    // The reference values reach the model rows.
    t->FindParam("Uу")->Value = 1.5;
    t->FindParam("Iу")->Value = 0.03;
    t->FindParam("Iуд")->Value = 0.02;
    t->FindParam("Uобр")->Value = 600;
    t->FindParam("Iобр")->Value = 2e-5;
    t->FindParam("Tpn")->Value = 423;
    t->MethodIndex = 1;
    ASSERT_TRUE(t->CalcModelParams());
    EXPECT_DOUBLE_EQ(t->ParamOf("Uу_c"), 1.5);
    EXPECT_DOUBLE_EQ(t->ParamOf("Iу_c"), 0.03);
    EXPECT_DOUBLE_EQ(t->ParamOf("Iуд_c"), 0.02);
    EXPECT_DOUBLE_EQ(t->ParamOf("Uобр_c"), 600);
    EXPECT_DOUBLE_EQ(t->ParamOf("Iобр_c"), 2e-5);
    EXPECT_DOUBLE_EQ(t->ParamOf("Tpn_c"), 423);
    // At the rated temperature the on-state current is the rated one.
    EXPECT_NEAR(t->ParamOf("Iprr"), 4.0, 1e-12);

    // Method 0 cannot work without a forward or a reverse current.
    t->MethodIndex = 0;
    t->FindParam("Iобр")->Value = 0;
    const double uo = t->ParamOf("Uo");
    EXPECT_FALSE(t->CalcModelParams());
    EXPECT_DOUBLE_EQ(t->ParamOf("Uo"), uo);
}

TEST(ThyristorModel, PiecewiseLinearDefaultsAndOnStateCharacteristic) {
    Schematic sheet;
    TThyristor* t = HandModelThyristor(sheet, 0);
    EXPECT_DOUBLE_EQ(t->Ron, (1.0 - 0.728) / (10 - 0.1));
    EXPECT_DOUBLE_EQ(t->R1, 7.28);
    EXPECT_DOUBLE_EQ(t->Roff, 2e7);
    EXPECT_DOUBLE_EQ(t->Rg, 200);
    EXPECT_FALSE(t->IsOn);
    EXPECT_DOUBLE_EQ(t->G, 1 / 2e7);

    ThyristorBench b(t);
    EXPECT_NEAR(b.CurrentAt(1.0), 1.0 / 2e7, 1e-15);
    EXPECT_FALSE(t->IsOn);
    EXPECT_DOUBLE_EQ(EvaluateValue(*t, t->GetCircuitModel()[1].g).Value(), 1 / 200.0);

    b.SetGate(2.0); // 10 mA through 200 Ω: exactly the trigger current
    EXPECT_NEAR(b.CurrentAt(1.0), 10.0, 1e-9);
    EXPECT_TRUE(t->IsOn);
    EXPECT_NEAR(b.CurrentAt(0.728), 0.1, 1e-12);      // the knee
    EXPECT_NEAR(b.CurrentAt(0.5), 0.5 / 7.28, 1e-12); // below it
    EXPECT_NEAR(b.CurrentAt(0.728 + 1e-9), 0.1, 1e-6);
}

TEST(ThyristorLatch, FiresOnGateCurrentHoldsAndTurnsOffWhenCurrentReverses) {
    Schematic sheet;
    TThyristor* t = HandModelThyristor(sheet, 0);
    ThyristorBench b(t);
    // Forward voltage without gate current: blocks.
    for (int k = 0; k < 3; ++k)
        EXPECT_NEAR(b.CurrentAt(50.0), 50.0 / 2e7, 1e-15);
    // Just below the trigger current.
    b.SetGate(1.999);
    EXPECT_NEAR(b.CurrentAt(50.0), 50.0 / 2e7, 1e-15);
    EXPECT_FALSE(t->IsOn);
    // Gate current but a reverse anode: stays off.
    b.SetGate(3.0);
    EXPECT_NEAR(b.CurrentAt(-5.0), -5.0 / 2e7, 1e-15);
    EXPECT_FALSE(t->IsOn);
    // Forward anode with gate current: fires at this read.
    EXPECT_NEAR(b.CurrentAt(1.0), 10.0, 1e-9);
    EXPECT_TRUE(t->IsOn);
    // The gate goes away: the current keeps it on.
    b.SetGate(0);
    for (double v : {1.0, 0.9, 0.3, 0.01}) {
        b.CurrentAt(v);
        EXPECT_TRUE(t->IsOn) << v;
    }
    // The anode goes negative: the estimated current is no longer above the
    // holding current and it blocks at once.
    EXPECT_NEAR(b.CurrentAt(-1.0), -1.0 / 2e7, 1e-15);
    EXPECT_FALSE(t->IsOn);
    EXPECT_NEAR(b.CurrentAt(1.0), 1.0 / 2e7, 1e-15);
    EXPECT_FALSE(t->IsOn);
}

TEST(ThyristorLatch, HoldingCurrentIsReadAtEveryEvaluation) {
    Schematic sheet;
    TThyristor* t = HandModelThyristor(sheet, 0);
    ThyristorBench b(t);
    b.SetGate(3.0);
    b.CurrentAt(0.5); // fires; below the knee, G = 1/7.28
    ASSERT_TRUE(t->IsOn);
    b.SetGate(0);
    // 0.5 V / 7.28 Ω = 68.7 mA flows; a holding current above it turns it off.
    t->FindParam("Iуд_c")->Value = 0.06;
    b.CurrentAt(0.5);
    EXPECT_TRUE(t->IsOn);
    t->FindParam("Iуд_c")->Value = 0.07;
    b.CurrentAt(0.5);
    EXPECT_FALSE(t->IsOn);
}

// Reads the three main-branch values of one residual evaluation in the given
// order and returns them as g, E, J.
struct Triple {
    double g, E, J;
};
Triple ReadInOrder(TThyristor& t, const char* order) {
    const TBranchRecord& main = t.GetCircuitModel()[0];
    Triple r{};
    for (const char* c = order; *c; ++c) {
        switch (*c) {
        case 'g':
            r.g = EvaluateValue(t, main.g).Value();
            break;
        case 'E':
            r.E = EvaluateValue(t, main.E).Value();
            break;
        default:
            r.J = EvaluateValue(t, main.J).Value();
            break;
        }
    }
    return r;
}

TEST(ThyristorLatch, OneEvaluationPerResidualWhateverTheReadOrder) {
    for (const char* order : {"gEJ", "JEg", "EgJ", "JgE"}) {
        Schematic sheet;
        TThyristor* t = HandModelThyristor(sheet, 0);
        ThyristorBench b(t);
        b.SetGate(3.0);
        b.SetAnode(1.0);
        // The first read fires the thyristor; all three values then belong
        // to the on state above the knee.
        Triple r = ReadInOrder(*t, order);
        EXPECT_TRUE(t->IsOn) << order;
        EXPECT_DOUBLE_EQ(r.g, 1 / t->Ron) << order;
        EXPECT_DOUBLE_EQ(r.E, -0.728) << order;
        EXPECT_DOUBLE_EQ(r.J, -0.1) << order;
        // Next evaluation: the anode reversed. The latch runs once, at its
        // first read, and the whole triple is the off state.
        b.SetGate(0);
        b.SetAnode(-1.0);
        r = ReadInOrder(*t, order);
        EXPECT_FALSE(t->IsOn) << order;
        EXPECT_DOUBLE_EQ(r.g, 1 / 2e7) << order;
        EXPECT_DOUBLE_EQ(r.E, 0) << order;
        EXPECT_DOUBLE_EQ(r.J, 0) << order;
    }
}

TEST(ThyristorLatch, TheLatchRunsOnlyOncePerEvaluation) {
    // On above the knee (G = 1/Ron), then the anode falls to 0.3 V with the
    // gate gone and a holding current of 50 mA. The estimate from G = 1/Ron
    // is 11 A: it stays on, below the knee. A second latch run within the
    // same evaluation would estimate 0.3/7.28 = 41 mA and turn it off.
    Schematic sheet;
    TThyristor* t = HandModelThyristor(sheet, 0);
    ThyristorBench b(t);
    t->FindParam("Iуд_c")->Value = 0.05;
    b.SetGate(3.0);
    b.CurrentAt(1.0);
    ASSERT_TRUE(t->IsOn);
    b.SetGate(0);
    b.SetAnode(0.3);
    // Read as the dense matrix products do, g and J more than once.
    const Triple r = ReadInOrder(*t, "JEgJg");
    EXPECT_TRUE(t->IsOn);
    EXPECT_DOUBLE_EQ(r.g, 1 / 7.28);
    EXPECT_DOUBLE_EQ(r.E, 0);
    EXPECT_DOUBLE_EQ(r.J, 0);
    // The next evaluation (the next step, same potentials) makes that
    // estimate and blocks.
    sheet.Run().Time += 1e-5;
    const Triple next = ReadInOrder(*t, "Eg");
    EXPECT_FALSE(t->IsOn);
    EXPECT_DOUBLE_EQ(next.g, 1 / 2e7);
}

TEST(ThyristorModel, ExponentialOnStatePassesThroughTheRecomputedIprr) {
    Schematic sheet;
    TThyristor* t = HandModelThyristor(sheet, 1);
    const double mVt = 1.5 * 398 * 1.38e-23 * 6.25e18;
    const double iUon = 1e-5 * std::exp(1.0 / mVt);
    EXPECT_NEAR(t->ParamOf("Iprr") / iUon, 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(t->Ulow, 0.001);
    EXPECT_NEAR(t->Ilow, 1e-5 * std::exp(0.001 / mVt), 1e-18);
    EXPECT_EQ(t->GetCircuitModel()[0].E.Kind, 0);

    ThyristorBench b(t);
    EXPECT_NEAR(b.CurrentAt(1.0), 1.0 / 2e7, 1e-15);
    b.SetGate(2.5);
    EXPECT_NEAR(b.CurrentAt(1.0), iUon, 1e-9 * iUon);
    ASSERT_TRUE(t->IsOn);
    // Above Uon the tangent through (Uon, Iprr).
    EXPECT_NEAR(b.CurrentAt(1.1), iUon * (1 + 0.1 / mVt), 1e-9 * iUon);
    // Below Uon the exponential itself, below Ulow its value at Ulow.
    EXPECT_NEAR(b.CurrentAt(0.6), 1e-5 * std::exp(0.6 / mVt), 1e-9);
    EXPECT_NEAR(b.CurrentAt(0.0005), 0.0005 * t->Ilow / 0.001, 1e-15);
    // A reverse anode voltage turns it off.
    b.SetGate(0);
    EXPECT_NEAR(b.CurrentAt(-3.0), -3.0 / 2e7, 1e-15);
    EXPECT_FALSE(t->IsOn);
}

TEST(ThyristorFile, AnUnofferedMethodIsReadAsTheFirstWithAWarning) {
    RecordingMessages messages;
    Schematic sheet;
    TThyristor* t = NewThyristor(sheet);
    const std::vector<std::string> lines = {"Thyristor:10,20,0,0,0,1(0,)[2]"};
    EXPECT_EQ(t->LoadFromStrings(":10,20,0,0,0,1(0,)[2]", lines, 0), 1);
    EXPECT_EQ(t->MethodIndex, 0);
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "warning");
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Thyristor №0: модель тиристора № 2 не поддерживается; используется "
              "кусочно-линейная безинерционная модель.");
    ASSERT_NE(t->GetCircuitModel(), nullptr);
    EXPECT_NEAR(t->ParamOf("Uo"), 0.84044194, 1e-7);
}

TEST(ThyristorRunCheck, RefusesParametersThatDivideByZero) {
    const struct {
        int method;
        const char* name;
        double value;
        const char* text;
    } cases[] = {
        {0, "Io", 0, "Компонент Thyristor №0: параметр Io должен быть больше нуля."},
        {0, "Iprr", 0.1,
         "Компонент Thyristor №0: ток в открытом состоянии Iprr должен быть больше тока излома "
         "Io."},
        {0, "Uос_c", 0.728,
         "Компонент Thyristor №0: напряжение в открытом состоянии Uос_c должно быть больше "
         "напряжения излома Uo."},
        {0, "Uo", 0, "Компонент Thyristor №0: параметр Uo должен быть больше нуля."},
        {0, "Iобр_c", 0, "Компонент Thyristor №0: параметр Iобр_c должен быть больше нуля."},
        {1, "Iобр_c", 0, "Компонент Thyristor №0: параметр Iобр_c должен быть больше нуля."},
        {0, "Iу_c", 0, "Компонент Thyristor №0: параметр Iу_c должен быть больше нуля."},
        {1, "Iу_c", 0, "Компонент Thyristor №0: параметр Iу_c должен быть больше нуля."},
        {1, "Uу_c", 0, "Компонент Thyristor №0: параметр Uу_c должен быть больше нуля."},
        {1, "isr", 0, "Компонент Thyristor №0: параметр isr должен быть больше нуля."},
        {1, "m", 1e-3,
         "Компонент Thyristor №0: ток при напряжении в открытом состоянии Uос_c слишком велик "
         "(переполнение экспоненты)."},
    };
    for (const auto& c : cases) {
        RecordingMessages messages;
        Schematic sheet;
        TThyristor* t = HandModelThyristor(sheet, c.method);
        EXPECT_TRUE(t->CheckBeforeRun());
        t->FindParam(c.name)->Value = c.value;
        EXPECT_FALSE(t->CheckBeforeRun()) << c.name;
        ASSERT_EQ(messages.Entries.size(), 1u) << c.name;
        EXPECT_EQ(messages.Entries[0].Kind, "error");
        EXPECT_EQ(messages.Entries[0].Text, c.text);
    }
}

} // namespace

namespace {

TEST(ThyristorLatch, ExponentialStaysOnWhenTheVoltageRisesPastUon) {
    // A read below Uon leaves the secant as G; the next read above Uon must
    // still see the large forward current of the tangent line.
    Schematic sheet;
    TThyristor* t = HandModelThyristor(sheet, 1);
    ThyristorBench b(t);
    b.SetGate(2.5);
    b.CurrentAt(0.9);
    ASSERT_TRUE(t->IsOn);
    b.SetGate(0);
    const double mVt = 1.5 * 398 * 1.38e-23 * 6.25e18;
    const double iUon = 1e-5 * std::exp(1.0 / mVt);
    EXPECT_NEAR(b.CurrentAt(1.1), iUon * (1 + 0.1 / mVt), 1e-9 * iUon);
    EXPECT_TRUE(t->IsOn);
    EXPECT_NEAR(b.CurrentAt(0.95), 1e-5 * std::exp(0.95 / mVt), 1e-9 * iUon);
    EXPECT_TRUE(t->IsOn);
}

} // namespace

namespace {

TEST(ThyristorLatch, AGateStillDrivingKeepsItOnBelowTheHoldingCurrent) {
    // Without this the latch would alternate between reads near the end of
    // a half period fired by a wide gate pulse, and the step would not
    // converge.
    Schematic sheet;
    TThyristor* t = HandModelThyristor(sheet, 0);
    ThyristorBench b(t);
    t->FindParam("Iуд_c")->Value = 0.04;
    b.SetGate(3.0);
    b.CurrentAt(1.0);
    ASSERT_TRUE(t->IsOn);
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(b.CurrentAt(0.1), 0.1 / 7.28, 1e-12) << k; // 14 mA < 40 mA
        EXPECT_TRUE(t->IsOn) << k;
    }
    // The gate goes away: below the holding current it blocks, and stays so.
    b.SetGate(0);
    b.CurrentAt(0.1);
    EXPECT_FALSE(t->IsOn);
    EXPECT_NEAR(b.CurrentAt(0.1), 0.1 / 2e7, 1e-15);
    // A reverse voltage turns it off even with the gate driving.
    b.SetGate(3.0);
    b.CurrentAt(1.0);
    ASSERT_TRUE(t->IsOn);
    b.CurrentAt(-0.5);
    EXPECT_FALSE(t->IsOn);
}

} // namespace
