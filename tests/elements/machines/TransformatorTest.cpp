#include <gtest/gtest.h>

#include <cmath>

#include "elements/machines/TTransformator.h"
#include "elements/machines/TransformerRig.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"

namespace {

using namespace TransformerRig;

TTransformator* Make(Schematic& sheet) {
    return dynamic_cast<TTransformator*>(CreateElementByName(sheet, "TTransformator"));
}

// The nameplate of the default data.
constexpr double U1nom = 220, I1nom = 1, U2xx = 22, I1xx = 0.05, Pxx = 5, Pkz = 5, U1kz = 20;
constexpr double Fnom = 314.159;

TEST(TransformatorModel, CalculatedFromTheOpenAndShortCircuitTests) {
    Schematic sheet;
    TTransformator* t = Make(sheet);
    ASSERT_NE(t, nullptr);
    ASSERT_TRUE(t->CalcModelParams());
    // By hand: the magnetising branch from the open-circuit test, the two
    // windings in series from the short-circuit test, halves referred equal.
    const double rm = Pxx / (I1xx * I1xx);                                     // 2000 Ω
    const double xm = std::sqrt(std::pow(U1nom / I1xx, 2) - rm * rm);         // 3919 Ω
    const double r1 = Pkz / (2 * I1nom * I1nom);                              // 2.5 Ω
    const double x1 = std::sqrt(std::pow(U1kz / I1nom, 2) - 4 * r1 * r1) / 2; // 9.68 Ω
    EXPECT_DOUBLE_EQ(t->ParamOf("ktr"), 10);
    EXPECT_DOUBLE_EQ(t->ParamOf("rm"), rm);
    EXPECT_NEAR(t->ParamOf("Lm"), xm / Fnom, 1e-12);
    EXPECT_DOUBLE_EQ(t->ParamOf("r1"), r1);
    EXPECT_DOUBLE_EQ(t->ParamOf("r2"), r1 / 100);
    EXPECT_NEAR(t->ParamOf("Ls1"), x1 / Fnom, 1e-14);
    EXPECT_NEAR(t->ParamOf("Ls2"), x1 / Fnom / 100, 1e-16);
    // The core loss at another frequency grows as (f/fnom)^alfa.
    t->FindParam("f")->Value = 2 * Fnom;
    ASSERT_TRUE(t->CalcModelParams());
    EXPECT_DOUBLE_EQ(t->ParamOf("rm"), 4 * rm);
    EXPECT_NEAR(t->ParamOf("Lm"), xm / Fnom, 1e-12);
}

TEST(TransformatorModel, RefusesMissingAndInconsistentNameplates) {
    Schematic sheet;
    for (const char* name : {"U1nom", "I1nom", "U2xx", "I1xx", "Pkz", "U1kz", "fnom", "f", "alfa"}) {
        TTransformator* t = Make(sheet);
        t->FindParam(name)->Value = 0;
        RecordingMessages messages;
        EXPECT_FALSE(t->CalcModelParams()) << name;
        EXPECT_TRUE(messages.Entries.empty()) << name;
    }
    // No core loss is a lossless core.
    TTransformator* lossless = Make(sheet);
    lossless->FindParam("Pxx")->Value = 0;
    EXPECT_TRUE(lossless->CalcModelParams());
    EXPECT_EQ(lossless->ParamOf("rm"), 0);

    const struct {
        const char* name;
        double value;
        const char* text;
    } cases[] = {{"Pxx", 20,
                  "Паспортные данные трансформатора несовместимы: потери х.х. Pxx больше, чем "
                  "U1nom·I1xx."},
                 {"Pkz", 50,
                  "Паспортные данные трансформатора несовместимы: потери к.з. Pkz больше, чем "
                  "U1kz·I1nom."}};
    for (const auto& c : cases) {
        TTransformator* t = Make(sheet);
        t->FindParam("ktr")->Value = 3;
        t->FindParam(c.name)->Value = c.value;
        RecordingMessages messages;
        EXPECT_FALSE(t->CalcModelParams()) << c.name;
        EXPECT_EQ(t->ParamOf("ktr"), 3) << c.name;
        ASSERT_EQ(messages.Entries.size(), 1u);
        EXPECT_EQ(messages.Entries[0].Kind, "error");
        EXPECT_EQ(messages.Entries[0].Text, c.text);
    }
}

TModelView View() {
    TModelView v;
    v.Currents = [](TBaseElement* e) {
        auto* t = static_cast<TTransformator*>(e);
        return std::pair{t->i1, t->i2};
    };
    v.Loss = [](TBaseElement* e) {
        auto* t = static_cast<TTransformator*>(e);
        const double im = t->i1 + t->i2 / t->ktr;
        return t->r1 * t->i1 * t->i1 + t->r2 * t->i2 * t->i2 + t->rm * im * im;
    };
    v.Stored = [](TBaseElement* e) {
        auto* t = static_cast<TTransformator*>(e);
        const double im = t->i1 + t->i2 / t->ktr;
        return 0.5 * (t->Ls1 * t->i1 * t->i1 + t->Ls2 * t->i2 * t->i2 + t->Lm * im * im);
    };
    return v;
}

// The model calculated from the default nameplate.
void Calculated(TBaseElement* e) {
    ASSERT_TRUE(e->CalcModelParams());
}

const double Root2 = std::sqrt(2.0);

TEST(TransformatorRun, OpenCircuitTestGivesTheNameplateCurrentAndLoss) {
    RecordingMessages messages;
    const TRun r = RunTransformer("TTransformator", Calculated, View(), Root2 * U1nom, Pi / 2, 1e9, 0.1, 1e-5);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_NEAR(r.I1 / Root2, I1xx, 0.02 * I1xx);
    EXPECT_NEAR(r.P1, Pxx, 0.02 * Pxx);
    EXPECT_NEAR(r.U2 / Root2, U2xx, 0.02 * U2xx);
}

TEST(TransformatorRun, ShortCircuitTestGivesTheNameplateVoltageAndLoss) {
    RecordingMessages messages;
    // U1kz drives I1nom through the shorted transformer.
    const TRun r = RunTransformer("TTransformator", Calculated, View(), Root2 * U1kz, Pi / 2, 1e-4, 0.2, 1e-5);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_NEAR(r.I1 / Root2, I1nom, 0.02 * I1nom);
    EXPECT_NEAR(r.P1, Pkz, 0.02 * Pkz);
    // The secondary carries ktr times the primary current.
    EXPECT_NEAR(r.I2 / r.I1, 10, 0.02 * 10);
}

TEST(TransformatorRun, LoadedMatchesTheTCircuitAndTheEnergyBalances) {
    RecordingMessages messages;
    const double R = 2.5;
    const TRun r = RunTransformer("TTransformator", Calculated, View(), Root2 * U1nom, Pi / 2, R, 0.2, 1e-5);
    ASSERT_TRUE(r.Finished);
    TCircuit c;
    c.r1 = 2.5;
    c.r2 = 2.5;
    c.rm = Pxx / (I1xx * I1xx);
    c.xm = std::sqrt(std::pow(U1nom / I1xx, 2) - c.rm * c.rm) * Omega50 / Fnom;
    c.x1 = c.x2 = std::sqrt(400.0 - 25.0) / 2 * Omega50 / Fnom;
    c.ktr = 10;
    const auto ref = c.Solve(Root2 * U1nom, R);
    EXPECT_NEAR(r.U2, ref.U2, 0.01 * ref.U2);
    EXPECT_NEAR(r.I1, ref.I1, 0.01 * ref.I1);
    EXPECT_GT(r.P1, 0);
    EXPECT_GT(r.PLoad, 0.8 * r.P1);
    EXPECT_NEAR(r.Output + r.Losses + r.Magnetic, r.Input, 0.01 * r.Input);
    EXPECT_LT(r.CurrentMismatch, 1e-6);
}

TEST(TransformatorRun, RefusesValuesThatDivideByZero) {
    for (const char* name : {"ktr", "Lm", "r1", "r2"}) {
        RecordingMessages messages;
        const TRun r = RunTransformer(
            "TTransformator",
            [name](TBaseElement* e) {
                e->AutoModel = false;
                CircuitBuilder::Set(e, name, 0);
            },
            View(), Root2 * U1nom, Pi / 2, 2.5, 0.01, 1e-5);
        EXPECT_FALSE(r.Finished) << name;
        ASSERT_EQ(messages.Entries.size(), 1u) << name;
        EXPECT_EQ(messages.Entries[0].Text,
                  "Компонент Transformator №2: параметр " + std::string(name) + " должен быть больше нуля.");
    }
}

} // namespace
