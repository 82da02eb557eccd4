#include <gtest/gtest.h>

#include <cmath>
#include <set>

#include "Simulation/RandomSeed.h"
#include "Simulation/SimModel.h"
#include "blocks/Generators.h"
#include "blocks/TConst.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "params/Units.h"
#include "support/BoundModel.h"
#include "support/RecordingMessages.h"

namespace {

// A generator on its own sheet, read at chosen model times.
class Generator {
public:
    explicit Generator(const char* cls)
        : block_(dynamic_cast<TProducer*>(CreateElementByName(sheet_, cls))) {}
    TProducer* operator->() const { return block_; }
    void Set(const char* name, double value) { block_->FindParam(name)->Value = value; }
    // Starts a run: the working fields and the output description.
    TValue Start() {
        block_->ResetState();
        output_ = block_->GetOutput();
        return output_;
    }
    double At(double t) {
        sheet_.Run().Time = t;
        return output_.Value();
    }
    Schematic& Sheet() { return sheet_; }

private:
    Schematic sheet_;
    BoundModel boundsheet_{sheet_};  // what the blocks read outside a run
    TProducer* block_;
    TValue output_;
};

struct Row {
    const char* name;
    const char* description;
    const UnitDef* units;
    double value;
    int unit;
};

void ExpectTable(const char* cls, const std::vector<Row>& rows) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TBaseElement* e = CreateElementByName(sheet, cls);
    ASSERT_NE(e->RefParamDefs, nullptr) << cls;
    ASSERT_EQ(ParamRowCount(e->RefParamDefs), int(rows.size())) << cls;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const ParamDef& d = e->RefParamDefs[i];
        EXPECT_STREQ(d.Name, rows[i].name) << cls;
        EXPECT_STREQ(d.Description, rows[i].description) << cls << "." << rows[i].name;
        EXPECT_EQ(d.Units, rows[i].units) << cls << "." << rows[i].name;
        EXPECT_DOUBLE_EQ(d.DefaultValue, rows[i].value) << cls << "." << rows[i].name;
        EXPECT_EQ(d.DefaultUnit, rows[i].unit) << cls << "." << rows[i].name;
    }
}

const double w1 = 2 * std::acos(-1.0); // 1 Hz

TEST(GeneratorTables, RowsInTableOrderWithTheirUnitsAndDefaults) {
    using namespace Units;
    const UnitDef* none = nullptr;
    ExpectTable("TStep", {{"h", "Величина ступеньки", none, 1, 0}, {"t", "Задержка", Time, 0, 0}});
    ExpectTable("TSinusoid", {{"A", "Амплитуда", none, 1, 0},
                              {"w", "Частота", AngularFrequency, w1, 1},
                              {"phi", "Начальная фаза", Phase, 0, 0}});
    ExpectTable("TConst", {{"K", "Значение константы", none, 1, 0}});
    ExpectTable("TGPSP", {{"max", "Максимальное значение", none, 1, 0},
                          {"min", "Минимальное значение ", none, 1, 0},
                          {"T1", "Период, мс", none, 1, 0}});
    ExpectTable("TGRI", {{"A1", "Амплитуда полож.имп.", none, 1, 0},
                         {"t1", "Задержка полож.имп.", Time, 0, 0},
                         {"L1", "Длительность полож.имп.", Time, 1, 0},
                         {"A2", "Амплитуда отр.имп.", none, 1, 0},
                         {"t2", "Задержка отр.имп.", Time, 0, 0},
                         {"L2", "Длительность отр.имп.", Time, 1, 0},
                         {"w", "Частота", AngularFrequency, w1, 1}});
    ExpectTable("TTrap", {{"A1", "Амплитуда полож.имп.", none, 1, 0},
                          {"tp1", "Задержка полож.имп.", Time, 0, 0},
                          {"tp2", "Длительность передн. фронта", Time, 1, 0},
                          {"L1", "Длительность вершины", Time, 1, 0},
                          {"tp3", "Длительность задн. фронта", Time, 1, 0},
                          {"A2", "Амплитуда отр.имп.", none, 1, 0},
                          {"to1", "Задержка отр.имп.", Time, 4, 0},
                          {"to2", "Длительность передн. фронта", Time, 1, 0},
                          {"L2", "Длительность вершины", Time, 1, 0},
                          {"to3", "Длительность задн. фронта", Time, 1, 0},
                          {"w", "Частота", AngularFrequency, w1, 1}});
    ExpectTable("TTreu",
                {{"A1", "Амплитуда ", none, 1, 0}, {"w", "Частота", AngularFrequency, w1, 1}});
    ExpectTable("TRamp", {{"h", "Коэффициент", none, 1, 0}, {"t", "Задержка", Time, 0, 0}});
    ExpectTable("TAngel",
                {{"AA", "Амплитуда", none, 1, 0}, {"wA", "Частота", AngularFrequency, w1, 1}});
    ExpectTable("TSyncGPN", {{"Kr", "Крутизна ", VoltageRate, 1, 1}});
    ExpectTable("TPilaP",
                {{"A1", "Амплитуда ", none, 1, 0}, {"w", "Частота", AngularFrequency, w1, 1}});
    ExpectTable("TPilaO",
                {{"A1", "Амплитуда ", none, 1, 0}, {"w", "Частота", AngularFrequency, w1, 1}});
}

TEST(GeneratorTables, UnitListsOfTimeFrequencyPhaseAndSlope) {
    auto texts = [](const UnitDef* u) {
        std::vector<std::pair<std::string, double>> out;
        for (; u->Text; ++u)
            out.emplace_back(u->Text, u->Factor);
        return out;
    };
    using P = std::vector<std::pair<std::string, double>>;
    EXPECT_EQ(texts(Units::Time), (P{{"с", 1}, {"мс", 0.001}, {"мкс", 1e-6}, {"нс", 1e-9}}));
    EXPECT_EQ(texts(Units::AngularFrequency), (P{{"рад/с", 1}, {"Гц", w1}}));
    EXPECT_EQ(texts(Units::Phase), (P{{"рад", 1}, {"град", std::acos(-1.0) / 180}}));
    EXPECT_EQ(texts(Units::VoltageRate), (P{{"мВ/с", 0.001}, {"В/с", 1}, {"кВ/с", 1000}}));
}

TEST(Step, DelayedStepSwitchesJustAfterTheDelay) {
    Generator g("TStep");
    g.Set("h", 3);
    g.Set("t", 0.5);
    ASSERT_TRUE(g.Start().IsDynamic());
    EXPECT_EQ(g.At(0.0), 0.0);
    EXPECT_EQ(g.At(0.5), 0.0);
    EXPECT_EQ(g.At(0.50001), 3.0);
    EXPECT_EQ(g.At(7.0), 3.0);
}

TEST(Step, StepAtOrBeforeTheStartIsAConstant) {
    for (double delay : {0.0, -1.0}) {
        Generator g("TStep");
        g.Set("h", 2);
        g.Set("t", delay);
        const TValue out = g.Start();
        EXPECT_FALSE(out.IsDynamic());
        EXPECT_EQ(out.Value(), 2.0);
    }
}

TEST(Sinusoid, DefaultsGiveAOneSecondUnitSine) {
    Generator g("TSinusoid");
    g.Start();
    EXPECT_NEAR(g.At(0.0), 0.0, 1e-15);
    EXPECT_NEAR(g.At(0.25), 1.0, 1e-15);
    EXPECT_NEAR(g.At(0.75), -1.0, 1e-15);
    EXPECT_NEAR(g.At(1.0 / 12), 0.5, 1e-15);
}

TEST(Sinusoid, AmplitudeFrequencyAndPhase) {
    Generator g("TSinusoid");
    g.Set("A", 5);
    g.Set("w", 10);
    g.Set("phi", std::acos(-1.0) / 2);
    g.Start();
    for (double t : {0.0, 0.013, 0.4})
        EXPECT_NEAR(g.At(t), 5 * std::cos(10 * t), 1e-12) << t;
}

TEST(Const, OutputsItsValueAtAnyTime) {
    Generator g("TConst");
    g.Set("K", -4.5);
    ASSERT_TRUE(g.Start().IsDynamic());
    EXPECT_EQ(g.At(0), -4.5);
    EXPECT_EQ(g.At(123), -4.5);
}

TEST(Ramp, RisesWithSlopeHAfterTheDelay) {
    Generator g("TRamp");
    g.Set("h", 2);
    g.Set("t", 1);
    g.Start();
    EXPECT_EQ(g.At(0.5), 0.0);
    EXPECT_EQ(g.At(1.0), 0.0);
    EXPECT_DOUBLE_EQ(g.At(1.25), 0.5);
    EXPECT_DOUBLE_EQ(g.At(4.0), 6.0);
}

TEST(Ramp, NegativeDelayStartedTheRampBeforeTheRun) {
    Generator g("TRamp");
    g.Set("h", 2);
    g.Set("t", -0.5);
    ASSERT_TRUE(g.Start().IsDynamic());
    EXPECT_DOUBLE_EQ(g.At(0.0), 1.0);
    EXPECT_DOUBLE_EQ(g.At(1.0), 3.0);
}

TEST(RectangularPulses, DefaultsAreOnStrictlyInsideEveryPeriod) {
    Generator g("TGRI");
    g.Start();
    for (double t : {0.0, 1.0, 2.0, 5.0})
        EXPECT_EQ(g.At(t), 0.0) << t;
    for (double t : {0.001, 0.5, 0.999, 1.5, 3.75})
        EXPECT_EQ(g.At(t), 1.0) << t;
}

TEST(RectangularPulses, PositiveThenNegativePulse) {
    Generator g("TGRI");
    // Period 4 s: +2 during (0.5, 1.5), -3 during (2, 3.5).
    g.Set("w", w1 / 4);
    g.Set("A1", 2);
    g.Set("t1", 0.5);
    g.Set("L1", 1);
    g.Set("A2", 3);
    g.Set("t2", 2);
    g.Set("L2", 1.5);
    g.Start();
    const std::pair<double, double> expected[] = {{0.25, 0}, {0.75, 2}, {1.4, 2},  {1.75, 0},
                                                  {2.5, -3}, {3.4, -3}, {3.75, 0}, {4.75, 2},
                                                  {6.5, -3}, {8.25, 0}};
    for (auto [t, v] : expected)
        EXPECT_EQ(g.At(t), v) << t;
}

TEST(RectangularPulses, PositivePulseWinsWhereTheyOverlap) {
    Generator g("TGRI");
    g.Set("t1", 0.2);
    g.Set("L1", 0.3);
    g.Set("t2", 0.1);
    g.Set("L2", 0.8);
    g.Start();
    EXPECT_EQ(g.At(0.15), -1.0);
    EXPECT_EQ(g.At(0.3), 1.0);
    EXPECT_EQ(g.At(0.7), -1.0);
    EXPECT_EQ(g.At(0.95), 0.0);
}

TEST(TrapezoidalPulses, TenSecondPeriodWithTheDefaults) {
    Generator g("TTrap");
    g.Set("w", w1 / 10);
    g.Start();
    const std::pair<double, double> expected[] = {
        {0.0, 0},      {0.25, 0.25}, {0.5, 0.5},  {1.5, 1},      {2.25, 0.75},
        {2.75, 0.25},  {3.5, 0},     {4.5, -0.5}, {5.5, -1},     {6.25, -0.75},
        {6.75, -0.25}, {8.0, 0},     {9.9, 0},    {12.25, 0.75}, {14.5, -0.5}};
    for (auto [t, v] : expected)
        EXPECT_NEAR(g.At(t), v, 1e-12) << t;
}

TEST(TrapezoidalPulses, ZeroEdgesJumpWithoutDividingByZero) {
    Generator g("TTrap");
    g.Set("w", w1 / 10);
    g.Set("tp2", 0);
    g.Set("tp3", 0);
    g.Set("to2", 0);
    g.Set("to3", 0);
    g.Set("A1", 2);
    g.Start();
    // Positive top during [0, 1), nothing until 4, negative top during [4, 5).
    EXPECT_EQ(g.At(0.0), 2.0);
    EXPECT_EQ(g.At(0.99), 2.0);
    EXPECT_EQ(g.At(1.5), 0.0);
    EXPECT_EQ(g.At(4.0), -1.0);
    EXPECT_EQ(g.At(5.5), 0.0);
}

TEST(TriangularPulses, PeaksAndZerosAtTheQuarterPeriods) {
    Generator g("TTreu");
    g.Set("A1", 2);
    g.Start();
    EXPECT_EQ(g.At(0.0), 0.0);
    EXPECT_DOUBLE_EQ(g.At(0.125), 1.0);
    EXPECT_DOUBLE_EQ(g.At(0.25), 2.0);
    EXPECT_DOUBLE_EQ(g.At(0.5), 0.0);
    EXPECT_DOUBLE_EQ(g.At(0.75), -2.0);
    EXPECT_DOUBLE_EQ(g.At(0.875), -1.0);
    EXPECT_NEAR(g.At(1.25), 2.0, 1e-12);
}

TEST(Sawtooth, RisingAndFallingAtAQuarterPeriod) {
    Generator up("TPilaP");
    up.Start();
    EXPECT_DOUBLE_EQ(up.At(0.25), 0.25);
    EXPECT_DOUBLE_EQ(up.At(0.0), 0.0);
    EXPECT_NEAR(up.At(2.6), 0.6, 1e-12);
    Generator down("TPilaO");
    down.Start();
    EXPECT_DOUBLE_EQ(down.At(0.25), 0.75);
    EXPECT_DOUBLE_EQ(down.At(0.0), 1.0);
    EXPECT_NEAR(down.At(2.6), 0.4, 1e-12);
}

TEST(Sawtooth, AngelTakesTheFractionOfThePeriodsElapsed) {
    Generator g("TAngel");
    g.Set("AA", 5);
    g.Set("wA", 2 * w1); // period 0.5 s
    g.Start();
    EXPECT_NEAR(g.At(0.4), 0.8 * 5, 1e-12);
    EXPECT_NEAR(g.At(0.6), 0.2 * 5, 1e-12);
    EXPECT_NEAR(g.At(0.0), 0.0, 1e-12);
}

TEST(PeriodicGenerators, ZeroOrNegativeFrequencyIsRefusedBeforeTheRun) {
    RecordingMessages messages;
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    const std::pair<const char*, const char*> guarded[] = {{"TGRI", "w"},   {"TTrap", "w"},
                                                           {"TTreu", "w"},  {"TPilaP", "w"},
                                                           {"TPilaO", "w"}, {"TAngel", "wA"}};
    for (auto [cls, param] : guarded) {
        TBaseElement* e = CreateElementByName(sheet, cls);
        EXPECT_TRUE(e->CheckBeforeRun()) << cls;
        e->FindParam(param)->Value = 0;
        EXPECT_FALSE(e->CheckBeforeRun()) << cls;
        e->FindParam(param)->Value = -1;
        EXPECT_FALSE(e->CheckBeforeRun()) << cls;
    }
    ASSERT_EQ(messages.Entries.size(), 12u);
    EXPECT_EQ(messages.Entries[0].Text, "Компонент GRI №0: параметр w должен быть больше нуля.");
    EXPECT_EQ(messages.Entries[11].Text,
              "Компонент Angel №5: параметр wA должен быть больше нуля.");
    // A sine wave of zero frequency is a constant: nothing wrong with it.
    TBaseElement* sine = CreateElementByName(sheet, "TSinusoid");
    sine->FindParam("w")->Value = 0;
    EXPECT_TRUE(sine->CheckBeforeRun());
}

class RandomGenerator : public ::testing::Test {
protected:
    void SetUp() override { SetFixedRandomSeed(12345u); }
    void TearDown() override { SetFixedRandomSeed(std::nullopt); }
};

TEST_F(RandomGenerator, HoldsAValuePerPeriodOnAThousandthGrid) {
    Generator g("TGPSP");
    g.Set("min", 0);
    g.Set("max", 1);
    g.Set("T1", 100);
    g.Start();
    std::set<double> values;
    const double h = 1e-3;
    double previous = g.At(0);
    EXPECT_EQ(previous, 0.0); // the first period of a fresh block
    int changes = 0;
    for (int step = 1; step < 10000; ++step) {
        const double t = step * h;
        const double v = g.At(t);
        EXPECT_EQ(g.At(t), v); // repeated reads within a step draw nothing
        EXPECT_GE(v, 0.0);
        EXPECT_LE(v, 1.0);
        EXPECT_NEAR(v * 1000, std::round(v * 1000), 1e-9);
        if (v != previous) {
            ++changes;
            // Changes happen only where a new period of 0.1 s starts.
            EXPECT_EQ(int(std::trunc(1000.0 * t / 100)),
                      int(std::trunc(1000.0 * (t - h) / 100)) + 1)
                << t;
        }
        previous = v;
        values.insert(v);
    }
    // 99 new periods; equal successive draws are rare (1 in 1001).
    EXPECT_GE(changes, 95);
    EXPECT_GE(values.size(), 90u);
}

TEST_F(RandomGenerator, DrawsAreUniformOverTheRange) {
    Generator g("TGPSP");
    g.Set("min", -2);
    g.Set("max", 2);
    g.Set("T1", 1); // a new value every millisecond
    g.Start();
    const int n = 40000;
    double sum = 0, sumSquares = 0, low = 1e9, high = -1e9;
    for (int k = 1; k <= n; ++k) {
        const double v = g.At(k * 1e-3 + 5e-4);
        sum += v;
        sumSquares += v * v;
        low = std::min(low, v);
        high = std::max(high, v);
    }
    // Uniform on [-2, 2]: mean 0, variance 16/12; 5 standard errors.
    const double mean = sum / n;
    EXPECT_NEAR(mean, 0.0, 5 * std::sqrt(16.0 / 12 / n));
    EXPECT_NEAR(sumSquares / n - mean * mean, 16.0 / 12, 0.05);
    EXPECT_NEAR(low, -2.0, 0.01);
    EXPECT_NEAR(high, 2.0, 0.01);
}

TEST_F(RandomGenerator, FixedSeedRepeatsTheSequenceAndBlocksDrawTheirOwn) {
    auto sequence = [](Generator& g) {
        std::vector<double> out;
        for (int k = 1; k <= 50; ++k)
            out.push_back(g.At(k * 1e-3));
        return out;
    };
    Generator a("TGPSP"), b("TGPSP");
    for (Generator* g : {&a, &b}) {
        g->Set("min", 0);
        g->Set("max", 1000);
        g->Start();
    }
    EXPECT_EQ(sequence(a), sequence(b));
    Generator both("TGPSP");
    TBaseElement* second = CreateElementByName(both.Sheet(), "TGPSP");
    both.Set("max", 1000);
    second->FindParam("max")->Value = 1000;
    both.Start();
    second->ResetState();
    const TValue secondOut = static_cast<TProducer*>(second)->GetOutput();
    std::vector<double> first = sequence(both), other;
    for (int k = 1; k <= 50; ++k) {
        both.Sheet().Run().Time = k * 1e-3;
        other.push_back(secondOut.Value());
    }
    EXPECT_NE(first, other);
}

TEST_F(RandomGenerator, EqualBoundsGiveThatValueAndSwappedBoundsFollowTheRemainderRule) {
    Generator g("TGPSP");
    g.Set("min", 0.25);
    g.Set("max", 0.25);
    g.Start();
    EXPECT_DOUBLE_EQ(g.At(0.0105), 0.25);
    // max 0, min 1: m = -999, the remainder is never negative, so values lie
    // in [1, 1.998].
    Generator swapped("TGPSP");
    swapped.Set("min", 1);
    swapped.Set("max", 0);
    swapped.Start();
    for (int k = 1; k < 200; ++k) {
        const double v = swapped.At(k * 1e-3);
        EXPECT_GE(v, 1.0);
        EXPECT_LE(v, 1.998 + 1e-12);
    }
}

TEST_F(RandomGenerator, MemorySurvivesResetAndReadsBeforeTheRunDrawNothing) {
    Generator g("TGPSP");
    g.Start();
    EXPECT_EQ(g.At(-1.0), 0.0);
    EXPECT_EQ(static_cast<TGPSP*>(g.operator->())->LastIndex, 0);
    g.At(0.0123);
    auto* block = static_cast<TGPSP*>(g.operator->());
    const int last = block->LastIndex;
    const double value = block->Value;
    EXPECT_EQ(last, 12);
    g.Start();
    EXPECT_EQ(block->LastIndex, last);
    EXPECT_EQ(block->Value, value);
}

TEST(RandomGeneratorCheck, PeriodMustBePositive) {
    RecordingMessages messages;
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    TBaseElement* e = CreateElementByName(sheet, "TGPSP");
    e->FindParam("T1")->Value = 0;
    EXPECT_FALSE(e->CheckBeforeRun());
    EXPECT_EQ(messages.Texts(),
              std::vector<std::string>{"Компонент GPSP №0: параметр T1 должен быть больше нуля."});
}

// The synchronised ramp, fed through the static-input vector as the engine does.
class SyncRamp : public ::testing::Test {
protected:
    SyncRamp() : block_(static_cast<TSyncGPN*>(CreateElementByName(sheet_, "TSyncGPN"))) {
        sheet_.Run().StaticInputs = {0.0};
    }
    void Start() {
        block_->ResetState();
        out_ = block_->GetOutput();
    }
    double At(double t, double input) {
        sheet_.Run().Time = t;
        sheet_.Run().StaticInputs[0] = input;
        return out_.Value();
    }
    Schematic sheet_;
    BoundModel boundsheet_{sheet_};  // what the blocks read outside a run
    TSyncGPN* block_;
    TValue out_;
};

TEST_F(SyncRamp, RestartsWhenTheInputCrossesZeroUpwards) {
    block_->FindParam("Kr")->Value = 2;
    Start();
    const double h = 0.125;
    EXPECT_EQ(At(0.0, -1), 0.0);
    for (double t = h; t < 1.0; t += h)
        EXPECT_DOUBLE_EQ(At(t, -1), 2 * t) << t;
    EXPECT_EQ(At(1.0, 1), 0.0);
    for (double t = 1.0 + h; t < 3.0; t += h)
        EXPECT_DOUBLE_EQ(At(t, 1), 2 * (t - 1)) << t;
}

TEST_F(SyncRamp, ChangesAtMostOncePerModelTime) {
    Start();
    At(0.5, -1);
    const double first = At(0.75, -1);
    // Later reads at the same time keep the value, whatever the input.
    EXPECT_EQ(At(0.75, 1), first);
    EXPECT_EQ(At(0.75, -1), first);
    // The crossing the repeated reads saw does not count: the input stayed
    // negative at the first read.
    EXPECT_DOUBLE_EQ(At(1.0, -1), 1.0);
}

TEST_F(SyncRamp, EveryRunStartsFromAClearedMemory) {
    Start();
    for (double t = 0.0; t <= 2.0; t += 0.25)
        At(t, -1);
    Start();
    EXPECT_EQ(At(0.0, -1), 0.0);
    EXPECT_DOUBLE_EQ(At(0.25, -1), 0.25);
}

} // namespace
