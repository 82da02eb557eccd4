#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/power/TBipolarNPN.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/BranchProbe.h"
#include "support/RecordingMessages.h"

namespace {

TBipolarNPN* NewTransistor(Schematic& sheet) {
    auto* t = dynamic_cast<TBipolarNPN*>(CreateElementByName(sheet, "TBipolarNPN"));
    t->Left = 100;
    t->Top = 100;
    return t;
}

// Sets the base, emitter and internal collector potentials and reads the
// branches the way the engine combines them.
struct TransistorBench {
    TBipolarNPN* t;
    BranchProbe probe;
    explicit TransistorBench(TBipolarNPN* tr) : t(tr), probe(tr->Sheet()) {
        probe.SetPotential(t->FindConnector("Emitter"), 1.0);
        probe.SetPotential(t->FindConnector("Base"), 1.0);
        probe.SetPotential(t->FindConnector("Collector"), 1.0);
        TSimModel& m = t->Sheet().Run();  // bound by the probe
        t->FNodeBase = int(m.Phi.size());
        m.Phi.push_back(1.0);
        m.Time = 0;
    }
    // Junction voltages: base–emitter and base–internal collector.
    void Set(double vBE, double vBC) {
        probe.SetPotential(t->FindConnector("Base"), 1.0 + vBE);
        t->Sheet().Run().Phi[std::size_t(t->FNodeBase)] = 1.0 + vBE - vBC;
    }
    // i = g·(v + E) − J from terminal 1 to terminal 2, the values read in
    // the order g, E, J.
    double Branch(int k) {
        const TBranchRecord& br = t->GetCircuitModel()[k];
        auto phi = [this](const TTerminal& term) {
            if (term.Kind == 1) return t->Sheet().Run().Potential(t->FNodeBase + term.Index);
            return t->FindConnector(term.Pin)->GetPhi();
        };
        const double g = EvaluateValue(*t, br.g).Value();
        const double E = EvaluateValue(*t, br.E).Value();
        const double J = EvaluateValue(*t, br.J).Value();
        return g * (phi(br.T1) - phi(br.T2) + E) - J;
    }
};

TEST(TransistorTables, RowsAndDatabase) {
    Schematic sheet;
    TBipolarNPN* t = NewTransistor(sheet);
    EXPECT_STREQ(t->DbSection, "Bip_NPN");
    const struct {
        const char* name;
        const char* description;
        double value;
        const char* unit;
    } rows[] = {{"Uкэном", "Номинальное напряж. К-Э", 10, "В"},
                {"Uкэнас", "Напряжение насыщения К-Э", 1, "В"},
                {"Iкном", "Номинальный ток коллектора", 5, "А"},
                {"Bном", "Коэфф. усиления с ОЭ", 4, nullptr},
                {"Iкбо", "Тепловой обратный ток коллектора", 1e-6, "мА"},
                {"Tпном", "Темп-ра перехода (номинальная)", 423, "К"},
                {"Tпраб", "Темп-ра перехода (рабочая)", 398, "К"},
                {"Тип", "Тип кристалла", 0, "Si"}};
    ASSERT_EQ(ParamRowCount(t->RefParamDefs), 8);
    for (int i = 0; i < 8; ++i) {
        const ParamDef& def = t->RefParamDefs[i];
        EXPECT_STREQ(def.Name, rows[i].name);
        EXPECT_STREQ(def.Description, rows[i].description);
        EXPECT_DOUBLE_EQ(def.DefaultValue, rows[i].value);
        if (rows[i].unit)
            EXPECT_STREQ(def.Units[def.DefaultUnit].Text, rows[i].unit) << rows[i].name;
        else
            EXPECT_EQ(def.Units, nullptr);
    }
    EXPECT_EQ(ParamRowCount(t->ModelParamDefs), 0);
    EXPECT_TRUE(t->CalcModelParams());
    const TBranchRecord* b = t->GetCircuitModel();
    ASSERT_EQ(BranchCount(b), 4);
    EXPECT_EQ(b[0].T1.Kind, 1);
    EXPECT_STREQ(b[0].T2.Pin, "Collector");
    EXPECT_STREQ(b[1].T1.Pin, "Base");
    EXPECT_EQ(b[1].T2.Kind, 1);
    EXPECT_STREQ(b[2].T2.Pin, "Emitter");
    EXPECT_EQ(b[3].T1.Kind, 1);
    EXPECT_STREQ(b[3].T2.Pin, "Emitter");
}

TEST(TransistorModel, DefaultsGiveThermalVoltageSeriesResistanceAndSaturationCurrents) {
    Schematic sheet;
    TBipolarNPN* t = NewTransistor(sheet);
    t->ResetState();
    EXPECT_NEAR(t->PhiT, 0.0343275, 1e-7);
    EXPECT_NEAR(t->Rs, (1.0 - std::log(2.0) * 1.5 * 0.0343275) / 5, 1e-8);
    EXPECT_DOUBLE_EQ(t->Ulow, 0.001);
    TransistorBench b(t);
    b.Branch(1);
    // 25 K cooler than rated: 2^(−25/24.5) of (BF + 1)·Icbo/(BF + 1 + BR).
    EXPECT_NEAR(t->IsC, std::pow(2.0, -25 / 24.5) * 5e-6 / 6, 1e-18);
    EXPECT_NEAR(t->IsE, t->IsC / 4, 1e-18);
    EXPECT_NEAR(t->IrevE, 1e-6 / 4 * 5 / 2, 1e-18);
}

TEST(TransistorModel, TemperatureFactorDoublesEvery24_5Kelvin) {
    Schematic sheet;
    TBipolarNPN* t = NewTransistor(sheet);
    t->FindParam("Tпраб")->Value = 423;
    t->ResetState();
    TransistorBench b(t);
    b.Branch(2);
    const double atRated = t->IsC;
    EXPECT_NEAR(atRated, 5e-6 / 6, 1e-18);
    t->FindParam("Tпраб")->Value = 423 + 24.5;
    t->ResetState();
    b.Branch(2);
    EXPECT_NEAR(t->IsC / atRated, 2.0, 1e-12);
}

TEST(TransistorJunctions, FourRegionsOfTheEmitterAndCollectorJunctions) {
    Schematic sheet;
    TBipolarNPN* t = NewTransistor(sheet);
    t->ResetState();
    TransistorBench b(t);
    const double mVt = 1.5 * 1.38e-23 * 398 / 1.6e-19;
    const double isC = std::pow(2.0, -25 / 24.5) * 5e-6 / 6, isE = isC / 4;
    auto diode = [&](double is, double v) { return is * (std::exp(v / mVt) - 1); };
    // The emitter junction with the collector junction at zero.
    struct {
        double v, i;
    } points[] = {
        {-3.0, -3.0 * (1e-6 * 5 / 8) / 10}, // reverse: IrevE/Unom
        {0.0005, 0.0005 * diode(isE, 0.001) / 0.001},
        {0.3, diode(isE, 0.3)},
        {0.7, diode(isE, 0.7)},
        {1.0, diode(isE, 1.0)}, // Usat itself: the secant, on the exponential
        {1.2, diode(isE, 1.0) + 0.2 * isE * std::exp(1.0 / mVt) / mVt},
    };
    for (const auto& p : points) {
        b.Set(p.v, 0);
        EXPECT_NEAR(b.Branch(2), p.i, 1e-9 * std::abs(p.i) + 1e-18) << p.v;
        EXPECT_NEAR(b.Branch(1), 0, 1e-18);
    }
    // Continuous on both sides of Usat and of Ulow.
    for (double v : {1.0, 0.001}) {
        b.Set(v * (1 - 1e-9), 0);
        const double below = b.Branch(2);
        b.Set(v * (1 + 1e-9), 0);
        EXPECT_NEAR(b.Branch(2), below, 1e-6 * below) << v;
    }
    // The collector junction: reverse Icbo/Unom, forward its own exponential.
    b.Set(0, -5.0);
    EXPECT_NEAR(b.Branch(1), -5.0 * 1e-6 / 10, 1e-18);
    b.Set(0, 0.6);
    EXPECT_NEAR(b.Branch(1), diode(isC, 0.6), 1e-9 * diode(isC, 0.6));
}

TEST(TransistorJunctions, TransportSourceCarriesBFTimesEmitterLessBRTimesCollector) {
    Schematic sheet;
    TBipolarNPN* t = NewTransistor(sheet);
    t->ResetState();
    TransistorBench b(t);
    for (const auto& [vBE, vBC] : {std::pair{0.7, -4.0}, std::pair{0.75, 0.7}, {-1.0, 0.6}}) {
        b.Set(vBE, vBC);
        const double iE = b.Branch(2), iC = b.Branch(1);
        // The branch from the internal collector to the emitter.
        EXPECT_NEAR(b.Branch(3), 4.0 * iE - 1.0 * iC, 1e-9 * std::abs(4 * iE) + 1e-15);
    }
}

TEST(TransistorJunctions, EveryReadRecomputesAllValuesFromThePresentPotentials) {
    Schematic sheet;
    TBipolarNPN* t = NewTransistor(sheet);
    t->ResetState();
    TransistorBench b(t);
    const TBranchRecord* br = t->GetCircuitModel();
    b.Set(0.7, -2.0);
    EvaluateValue(*t, br[2].g).Value();
    const double gAt07 = t->gE;
    // A read of the transport source alone brings every value up to date.
    b.Set(1.2, 0.5);
    const double icc = EvaluateValue(*t, br[3].J).Value();
    EXPECT_NE(t->gE, gAt07);
    EXPECT_GT(t->jE, 0);
    EXPECT_DOUBLE_EQ(icc, 1.0 * (0.5 * t->gC - t->jC) - 4.0 * (1.2 * t->gE - t->jE));
    // Reading gE again at other potentials gives their value, not a cache.
    b.Set(0.7, -2.0);
    EXPECT_DOUBLE_EQ(EvaluateValue(*t, br[2].g).Value(), gAt07);
    EXPECT_DOUBLE_EQ(EvaluateValue(*t, br[0].g).Value(), 1 / t->Rs);
}

TEST(TransistorRunCheck, RefusesParametersThatDivideByZeroAndANegativeRs) {
    const struct {
        const char* name;
        double value;
        const char* text;
    } cases[] = {
        {"Iкном", 0, "Компонент BipolarNPN №0: параметр Iкном должен быть больше нуля."},
        {"Uкэном", 0, "Компонент BipolarNPN №0: параметр Uкэном должен быть больше нуля."},
        {"Bном", 0, "Компонент BipolarNPN №0: параметр Bном должен быть больше нуля."},
        {"Uкэнас", 0.03,
         "Компонент BipolarNPN №0: напряжение насыщения Uкэнас должно быть больше ln 2 · m · φт "
         "= 0.03569 В (иначе сопротивление коллектора Rs не положительно)."},
    };
    for (const auto& c : cases) {
        RecordingMessages messages;
        Schematic sheet;
        TBipolarNPN* t = NewTransistor(sheet);
        EXPECT_TRUE(t->CheckBeforeRun());
        t->FindParam(c.name)->Value = c.value;
        EXPECT_FALSE(t->CheckBeforeRun()) << c.name;
        ASSERT_EQ(messages.Entries.size(), 1u) << c.name;
        EXPECT_EQ(messages.Entries[0].Kind, "error");
        EXPECT_EQ(messages.Entries[0].Text, c.text);
    }
}

} // namespace
