#include <gtest/gtest.h>

#include <cmath>

#include "elements/machines/TTransformer.h"
#include "elements/machines/TransformerRig.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"

namespace {

using namespace TransformerRig;

TTransformer* Make(Schematic& sheet) {
    return dynamic_cast<TTransformer*>(CreateElementByName(sheet, "TTransformer"));
}

TEST(TransformerTables, RowsAndMethod) {
    Schematic sheet;
    TTransformer* t = Make(sheet);
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->DbSection, nullptr);
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {{"U1nom", "Ном. напряжение I-ой обмотки", 220, "В"},
                {"I1nom", "Ном. ток I-ой обмотки", 1, "мА"},
                {"U2nom", "Ном. напряжение II-ой обмотки", 20, "В"},
                {"I2nom", "Ном. ток II-ой обмотки", 8, "мА"},
                {"I1hh", "Ток хол. хода I-ой обмотки", 0.1, "мА"},
                {"U2hh", "Напряжение хол. хода II-ой обмотки", 22, "В"},
                {"f", "Номинальная частота", 314, "Гц"},
                {"ktr", "Коэффициент трансформации", 10, nullptr},
                {"Lm", "Индуктивность намагничивания", 7, "мГн"},
                {"r1", "Акт. сопротивление I-ой обмотки", 30, "Ом"},
                {"r2", "Акт. сопротивление II-ой обмотки", 0.3, "Ом"}};
    for (const auto& r : rows) {
        const ParamValue* v = t->FindParam(r.name);
        ASSERT_NE(v, nullptr) << r.name;
        EXPECT_STREQ(v->Def->Description, r.description) << r.name;
        if (r.unit)
            EXPECT_STREQ(v->Def->Units[v->Unit].Text, r.unit) << r.name;
        else
            EXPECT_EQ(v->Def->Units, nullptr) << r.name;
    }
    // A new element calculates its model from the reference rows.
    EXPECT_EQ(t->ParamOf("U1nom"), 220);
    ASSERT_EQ(MethodCount(t->ModelMethods), 1);
    EXPECT_STREQ(t->ModelMethods[0], "Без насыщения и гистерезиса");
}

TEST(TransformerModel, CalculatedFromTheNameplate) {
    Schematic sheet;
    TTransformer* t = Make(sheet);
    ASSERT_TRUE(t->CalcModelParams());
    EXPECT_DOUBLE_EQ(t->ParamOf("ktr"), 10);
    EXPECT_DOUBLE_EQ(t->ParamOf("Lm"), 220 / (314 * 0.1));
    EXPECT_DOUBLE_EQ(t->ParamOf("r1"), 30);
    EXPECT_DOUBLE_EQ(t->ParamOf("r2"), 0.3);
    // Any nominal value not above zero leaves the model as it was.
    for (const char* name : {"U1nom", "U2nom", "U2hh", "I1nom", "I2nom", "I1hh", "f"}) {
        TTransformer* u = Make(sheet);
        u->FindParam(name)->Value = 0;
        u->FindParam("ktr")->Value = 3;
        RecordingMessages messages;
        EXPECT_FALSE(u->CalcModelParams()) << name;
        EXPECT_EQ(u->ParamOf("ktr"), 3) << name;
        EXPECT_TRUE(messages.Entries.empty());
    }
}

// The model calculated from the default nameplate, kept as it is.
void Defaults(TBaseElement* e) {
    ASSERT_TRUE(e->CalcModelParams());
    e->AutoModel = false;
}

TModelView View() {
    TModelView v;
    v.Currents = [](TBaseElement* e) {
        auto* t = static_cast<TTransformer*>(e);
        return std::pair{t->i1, t->i2};
    };
    v.Loss = [](TBaseElement* e) {
        auto* t = static_cast<TTransformer*>(e);
        const double i2r = t->i2 / t->ktr;
        return t->r1 * (t->i1 * t->i1 + i2r * i2r);
    };
    v.Stored = [](TBaseElement* e) {
        auto* t = static_cast<TTransformer*>(e);
        const double im = t->i1 + t->i2 / t->ktr;
        return 0.5 * t->Lm * im * im;
    };
    return v;
}

// The equivalent circuit of the default data: r1 on both sides (referred),
// the magnetising reactance ω·Lm.
TCircuit DefaultCircuit() {
    TCircuit c;
    c.r1 = c.r2 = 30;
    c.xm = Omega50 * 220 / (314 * 0.1);
    c.ktr = 10;
    return c;
}

// The source starts at its positive peak (phase π/2), where the steady
// magnetising current passes zero, so that no DC flux decays through the
// run.
constexpr double Cosine = Pi / 2;

TEST(TransformerRun, NoLoadCurrentIsTheNameplateCurrentAndTheSecondaryGivesU1OverKtr) {
    RecordingMessages messages;
    const TRun r = RunTransformer("TTransformer", Defaults, View(), Amplitude, Cosine, 1e9, 0.1, 1e-5);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    // I1hh = 0.1 A rms at 220 V: Lm was calculated from it (at 314 rad/s;
    // the source's 2π·50 lowers the current by 0.05 %).
    const double i1hh = 0.1 * std::sqrt(2.0);
    EXPECT_NEAR(r.I1, i1hh, 0.02 * i1hh);
    EXPECT_NEAR(r.U2, Amplitude / 10, 0.005 * Amplitude / 10);
    const auto ref = DefaultCircuit().Solve(Amplitude, 1e9);
    EXPECT_NEAR(r.I1, ref.I1, 0.01 * ref.I1);
}

TEST(TransformerRun, LoadedSecondaryMatchesThePhasorSolutionAndTheEnergyBalances) {
    RecordingMessages messages;
    // 2.5 Ω: the nameplate's 20 V at 8 A.
    const double R = 2.5;
    const TRun r = RunTransformer("TTransformer", Defaults, View(), Amplitude, Cosine, R, 0.2, 1e-5);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    const auto ref = DefaultCircuit().Solve(Amplitude, R);
    EXPECT_NEAR(r.U2, ref.U2, 0.01 * ref.U2);
    EXPECT_NEAR(r.I1, ref.I1, 0.01 * ref.I1);
    EXPECT_NEAR(r.P1, ref.P1, 0.01 * ref.P1);
    // Power flows from the source into the primary and out of the secondary
    // into the load.
    EXPECT_GT(r.P1, 0);
    EXPECT_GT(r.PLoad, 0.8 * r.P1);
    const double balance = r.Output + r.Losses + r.Magnetic;
    EXPECT_NEAR(balance, r.Input, 0.01 * r.Input);
    // The circuit's winding currents are the ones the transformer
    // integrates.
    EXPECT_LT(r.CurrentMismatch, 1e-6);
}

TEST(TransformerRun, R2DoesNotEnterTheEquations) {
    const double R = 2.5;
    const TRun a = RunTransformer("TTransformer", Defaults, View(), Amplitude, Cosine, R, 0.04, 1e-5);
    const TRun b = RunTransformer(
        "TTransformer",
        [](TBaseElement* e) {
            Defaults(e);
            CircuitBuilder::Set(e, "r2", 7);
        },
        View(), Amplitude, Cosine, R, 0.04, 1e-5);
    ASSERT_TRUE(a.Finished && b.Finished);
    EXPECT_EQ(a.U2, b.U2);
    EXPECT_EQ(a.Input, b.Input);
}

TEST(TransformerRun, RefusesValuesThatDivideByZero) {
    for (const char* name : {"ktr", "Lm", "r1"}) {
        RecordingMessages messages;
        const TRun r = RunTransformer(
            "TTransformer",
            [name](TBaseElement* e) {
                e->AutoModel = false;
                CircuitBuilder::Set(e, name, 0);
            },
            View(), Amplitude, Cosine, 2.5, 0.01, 1e-5);
        EXPECT_FALSE(r.Finished) << name;
        ASSERT_EQ(messages.Entries.size(), 1u) << name;
        EXPECT_EQ(messages.Entries[0].Text,
                  "Компонент Transformer №2: параметр " + std::string(name) + " должен быть больше нуля.");
    }
}

} // namespace
