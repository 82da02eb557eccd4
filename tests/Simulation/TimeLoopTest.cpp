#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/OracleCompare.h"
#include "support/EngineTestElements.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

using P = CircuitBuilder;

struct Sample {
    double time;
    std::vector<double> row;
};

class TimeLoop : public ::testing::Test {
protected:
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b{sheet};
    TRunSettings& m = sheet.RunSettings;
    TempDir dir;
    std::vector<Sample> samples;
    // The last run's, whose model the pins read after it.
    TRunContext run{sheet, dir.Path().string()};

    TRunResult Run(long long maxIterations = DefaultMaxIterations()) {
        samples.clear();
        EXPECT_TRUE(PrepareRun(run));
        TRunOptions o;
        o.MaxIterations = maxIterations;
        o.Sample = [this](double t, const std::vector<double>& row) { samples.push_back({t, row}); };
        return RunSimulation(run, o);
    }

    // A voltage source with its Minus on ground; returns the source.
    TBaseElement* GroundedSource(double E, int x = 100, int y = 100) {
        auto* vs = b.Add("TVoltageSource", x, y);
        auto* gnd = b.Add("TGround", x, y + 150);
        P::Set(vs, "E", E);
        b.Wire(P::Pin(vs, "Minus"), P::Pin(gnd, "Connector"));
        return vs;
    }
};

TEST_F(TimeLoop, FirstSampleAtZeroThenAtEachOutputStep) {
    auto* c = b.Add("TTestConst", 10, 10);
    auto* p = b.Add("TTestProbe", 100, 10);
    b.Link(c, p);
    P::Set(c, "K", 2.5);
    const TRunResult r = Run();
    // No block outputs and no circuit: every step converges at once.
    EXPECT_EQ(r.Iterations, 0);
    // 100 000 steps of 1e-5 add up to slightly less than 1, so the loop may
    // take one more.
    EXPECT_GE(r.Steps, 100000);
    EXPECT_LE(r.Steps, 100001);
    ASSERT_GE(samples.size(), 100u);
    EXPECT_LE(samples.size(), 101u);
    EXPECT_EQ(samples[0].time, 0.0);
    for (std::size_t k = 1; k < samples.size(); ++k) {
        // The first step whose time reaches the next multiple of GS.
        EXPECT_GE(samples[k].time, 0.01 * double(k) - 1e-9);
        EXPECT_LT(samples[k].time, 0.01 * double(k) + m.h);
        EXPECT_DOUBLE_EQ(samples[k].row.back(), 2.5);
    }
    const GrafGrp grp = ReadGrafGrp(dir.File("graf.grp"));
    EXPECT_EQ(grp.Consumers, 1);
    EXPECT_EQ(grp.Ratio, 100);
    EXPECT_FLOAT_EQ(grp.GS, 0.01f);
    EXPECT_EQ(grp.Times.size(), samples.size());
    EXPECT_EQ(grp.TrailingBytes, 0u);
    EXPECT_FLOAT_EQ(grp.Values[3][0], 2.5f);
    const auto dat = ReadGrafDat(dir.File("graf.dat"));
    ASSERT_EQ(dat.size(), samples.size());
    EXPECT_EQ(dat[0], (std::vector<double>{0.0, 2.5}));
}

TEST_F(TimeLoop, OutputStepBelowTheIntegrationStepSamplesEveryStep) {
    auto* c = b.Add("TTestConst", 10, 10);
    b.Link(c, b.Add("TTestProbe", 100, 10));
    m.T = 1e-3;
    m.h = 1e-4;
    m.GS = 1e-5;
    const TRunResult r = Run();
    EXPECT_EQ(r.Steps, 10);
    EXPECT_EQ(samples.size(), 10u);
    EXPECT_EQ(ReadGrafGrp(dir.File("graf.grp")).Ratio, 100);
}

TEST_F(TimeLoop, StopHalfwayWritesTheSamplesSoFar) {
    auto* c = b.Add("TTestConst", 10, 10);
    b.Link(c, b.Add("TTestProbe", 100, 10));
    samples.clear();
    TRunContext context(sheet, dir.Path().string());
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.Progress = [this](double t) {
        if (t >= 0.5) sheet.Run().RequestStop();
    };
    const TRunResult r = RunSimulation(context, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Stopped);
    const GrafGrp grp = ReadGrafGrp(dir.File("graf.grp"));
    EXPECT_EQ(grp.Ratio, 100);  // still from T / GS
    EXPECT_GE(grp.Times.size(), 50u);
    EXPECT_LE(grp.Times.size(), 52u);
    EXPECT_EQ(ReadGrafDat(dir.File("graf.dat")).size(), grp.Times.size());
}

TEST_F(TimeLoop, ResistiveCircuitConvergesInOneOrTwoIterations) {
    auto* vs = GroundedSource(12);
    auto* r = b.Add("TResistor", 200, 60);
    b.Wire(P::Pin(vs, "Plus"), P::Pin(r, "Connector1"));
    b.WireToNode(P::Pin(r, "Connector2"), P::Pin(vs, "Minus"));
    m.T = 0.01;
    const TRunResult r1 = Run();
    EXPECT_LE(double(r1.Iterations) / double(r1.Steps), 2.0);
    // 12 V (0.01 Ω inside) into 1 kΩ: 11.9999 mA, the same in every line.
    EXPECT_NEAR(P::Pin(vs, "Plus")->GetPhi(), 12.0 * 1000 / 1000.01, 1e-9);
    const auto dat = ReadGrafDat(dir.File("graf.dat"));
    ASSERT_FALSE(dat.empty());
    for (const auto& row : dat) EXPECT_EQ(std::vector<double>(row.begin() + 1, row.end()),
                                          std::vector<double>(dat[0].begin() + 1, dat[0].end()));
}

TEST_F(TimeLoop, RcChargesAsBackwardEulerSays) {
    auto* vs = GroundedSource(12);
    auto* r = b.Add("TResistor", 200, 60);
    auto* c = b.Add("TCapacitor", 300, 100);
    b.Wire(P::Pin(vs, "Plus"), P::Pin(r, "Connector1"));
    b.Wire(P::Pin(r, "Connector2"), P::Pin(c, "Connector1"));
    b.WireToNode(P::Pin(c, "Connector2"), P::Pin(vs, "Minus"));
    m.T = 0.002;
    m.GS = 1e-5;
    Run();
    // Backward Euler with tau = (1000 + 0.01)·1e-6: v_n = (v_{n-1} + a·E)/(1 + a);
    // the sample taken at step k holds v after k + 1 steps.
    const double a = m.h / ((1000 + 0.01) * 1e-6);
    const int capIndex = P::Pin(c, "Connector1")->FSimNode;
    double v = 0;
    for (std::size_t k = 0; k < samples.size(); ++k) {
        v = (v + a * 12) / (1 + a);
        ASSERT_NEAR(samples[k].row[std::size_t(capIndex)], v, 1e-6) << "sample " << k;
    }
    // At 1 ms: close to 7.6 V (12·(1 − e^−1) = 7.585 analytically).
    const double at1ms = samples[100].row[std::size_t(capIndex)];
    EXPECT_NEAR(at1ms, 12 * (1 - std::exp(-1.0)), 0.03);
    EXPECT_NEAR(samples[100].time, 1e-3, 1e-12);
}

TEST_F(TimeLoop, AmmeterReadsTheCurrentEnteringAtItsFirstPin) {
    auto* vs = GroundedSource(12);
    auto* amp = b.Add("TAmper", 200, 100);
    auto* r = b.Add("TResistor", 300, 60);
    b.Wire(P::Pin(vs, "Plus"), P::Pin(amp, "Connector1"));
    b.Wire(P::Pin(amp, "Connector2"), P::Pin(r, "Connector1"));
    b.WireToNode(P::Pin(r, "Connector2"), P::Pin(vs, "Minus"));
    b.Link(amp, b.Add("TTestProbe", 400, 10));
    m.T = 0.001;
    Run();
    ASSERT_FALSE(samples.empty());
    EXPECT_NEAR(samples.back().row.back(), 12.0 / (1000 + 0.01 + 0.01), 1e-9);
}

TEST_F(TimeLoop, BatteryWithZeroCoefficientsKeepsItsEmf) {
    auto* bat = b.Add("TBattery", 100, 100);
    auto* gnd = b.Add("TGround", 100, 250);
    auto* r = b.Add("TResistor", 200, 60);
    P::Set(bat, "Kзар", 0);
    P::Set(bat, "Kраз", 0);
    P::Set(r, "R", 11);
    b.Wire(P::Pin(bat, "Minus"), P::Pin(gnd, "Connector"));
    b.Wire(P::Pin(bat, "Plus"), P::Pin(r, "Connector1"));
    b.WireToNode(P::Pin(r, "Connector2"), P::Pin(gnd, "Connector"));
    m.T = 0.05;
    Run();
    EXPECT_NEAR(P::Pin(bat, "Plus")->GetPhi(), 12.0 * 11 / (12 + 1e-4), 1e-6);

    // With the default coefficients the same load discharges it.
    P::Set(bat, "Kраз", 1);
    Run();
    EXPECT_LT(P::Pin(bat, "Plus")->GetPhi(), 11.0 - 1e-3);
}

TEST_F(TimeLoop, CurrentSourceChargesACapacitorWithoutResistivePath) {
    auto* cs = b.Add("TCurrentSource", 100, 100);
    auto* gnd = b.Add("TGround", 100, 250);
    auto* c = b.Add("TCapacitor", 300, 100);
    P::Set(cs, "I", 1e-3);
    b.Wire(P::Pin(cs, "Minus"), P::Pin(gnd, "Connector"));
    b.Wire(P::Pin(cs, "Plus"), P::Pin(c, "Connector1"));
    b.WireToNode(P::Pin(c, "Connector2"), P::Pin(gnd, "Connector"));
    m.T = 0.01;
    Run();
    // 1 mA into 1 µF: 1000 V/s, exactly linear under backward Euler.
    const int node = P::Pin(c, "Connector1")->FSimNode;
    for (const Sample& s : samples)
        EXPECT_NEAR(s.row[std::size_t(node)], 1000.0 * (s.time + m.h), 1e-6);
}

TEST_F(TimeLoop, IterationLimitStopsTheRunAndNamesTheTime) {
    auto* vs = GroundedSource(12);
    auto* w = b.Add("TTestWobble", 200, 60);
    b.Wire(P::Pin(vs, "Plus"), P::Pin(w, "Connector1"));
    b.WireToNode(P::Pin(w, "Connector2"), P::Pin(vs, "Minus"));
    const TRunResult res = Run(5);
    EXPECT_EQ(res.Status, TRunResult::Outcome::NotConverged);
    EXPECT_EQ(res.FailureTime, 0.0);
    EXPECT_EQ(res.Message, "Решение не сходится при t = 0 с: за 5 итераций невязка не стала меньше точности решения.");
    EXPECT_TRUE(ReadGrafDat(dir.File("graf.dat")).empty());
}

// The compiled model keeps, for every branch, the element it came from; the
// controlled EMFs and the controlled current sources are numbered in blocks
// of their own, so a mix-up between the two blocks would blame the
// neighbour.
TEST_F(TimeLoop, ANonFiniteControlledSourceIsBlamedItselfNotTheOtherKind) {
    auto* gnd = b.Add("TGround", 100, 500);
    auto* cv = b.Add("TTestCV", 100, 100);
    auto* cc = b.Add("TTestCC", 400, 100);
    bool first = true;
    for (TBaseElement* source : {cv, cc}) {
        auto* load = b.Add("TResistor", source->Left + 100, 100);
        b.Wire(P::Pin(source, "Plus"), P::Pin(load, "Connector1"));
        if (first)
            b.Wire(P::Pin(source, "Minus"), P::Pin(gnd, "Connector"));
        else
            b.WireToNode(P::Pin(source, "Minus"), P::Pin(gnd, "Connector"));
        b.WireToNode(P::Pin(load, "Connector2"), P::Pin(gnd, "Connector"));
        first = false;
    }
    auto* kv = b.Add("TTestConst", 10, 10);
    auto* kc = b.Add("TTestConst", 10, 60);
    b.Link(kv, cv);
    b.Link(kc, cc);
    struct Case {
        double emf, current;
        TBaseElement* culprit;
    } cases[] = {
        {1e307, 1.0, cv},    // g·E = 100 S · 1e307 V overflows
        {1.0, INFINITY, cc}, // the source current itself
    };
    for (const Case& c : cases) {
        P::Set(kv, "K", c.emf);
        P::Set(kc, "K", c.current);
        const TRunResult r = Run();
        EXPECT_EQ(r.Status, TRunResult::Outcome::InvalidValue);
        EXPECT_EQ(r.Culprit, c.culprit) << (r.Culprit ? r.Culprit->Name() : "none");
        EXPECT_EQ(r.Message, "Недопустимое значение (не число или бесконечность) у элемента " +
                                 c.culprit->Name() + " №" +
                                 std::to_string(c.culprit->ElementIndex()) +
                                 " при t = 0 с. Моделирование остановлено.");
    }
}

TEST_F(TimeLoop, MeaninglessSettingsAndParametersAreRefusedBeforeTheRun) {
    auto* r = b.Add("TResistor", 200, 60);
    struct Case {
        double TRunSettings::*field;
        double value;
        const char* text;
    } cases[] = {
        {&TRunSettings::h, 0, "Шаг моделирования должен быть больше нуля."},
        {&TRunSettings::GS, -1, "Шаг вывода графиков должен быть больше нуля."},
        {&TRunSettings::pr, 0, "Приращение вычисления производной не может быть равно нулю."},
        {&TRunSettings::T, -1, "Длительность моделирования не может быть отрицательной."},
        {&TRunSettings::TNC, 0, "Точность решения должна быть больше нуля."},
        {&TRunSettings::h, NAN, "Параметр моделирования \"Шаг моделирования\" не является числом."},
        {&TRunSettings::T, INFINITY, "Параметр моделирования \"Длительность моделирования\" не является числом."},
    };
    for (const Case& c : cases) {
        const double old = m.*c.field;
        m.*c.field = c.value;
        messages.Clear();
        TRunContext context(sheet, "");
        EXPECT_FALSE(PrepareRun(context));
        ASSERT_EQ(messages.Entries.size(), 1u);
        EXPECT_EQ(messages.Entries[0].Text, c.text);
        m.*c.field = old;
    }
    P::Set(r, "R", 0);
    messages.Clear();
    TRunContext context(sheet, "");
    EXPECT_FALSE(PrepareRun(context));
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Компонент Resistor №0: параметр R должен быть больше нуля."}));
}

TEST_F(TimeLoop, UnwritableResultFilesAreReportedOnStandardOutput) {
    auto* c = b.Add("TTestConst", 10, 10);
    b.Link(c, b.Add("TTestProbe", 100, 10));
    m.T = 0.01;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions o;
    context.OutputDir = "/nonexistent/dir";
    testing::internal::CaptureStdout();
    const TRunResult r = RunSimulation(context, o);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished);
    EXPECT_NE(out.find("Немогу открыть файл /nonexistent/dir/graf.dat"), std::string::npos);
    EXPECT_NE(out.find("Немогу открыть файл /nonexistent/dir/graf.grp"), std::string::npos);
}

// ---------------------------------------------------------------- oracle

// Random circuits of sources, resistors, capacitors, inductances, batteries,
// ammeters, diodes and switches on a few nodes, each node held to ground through 10 kΩ so that
// no part floats, with blocks reading sensors and ammeters and feeding
// controlled sources.
// Returns whether a switch is among them.
bool BuildRandomSchematic(Schematic& sheet, std::mt19937& rng) {
    CircuitBuilder b(sheet);
    std::uniform_real_distribution<double> unit(0.0, 1.0);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    auto* gnd = b.Add("TGround", 20, 20);
    std::vector<TConnector*> nodes;  // one pin representing each node
    const int nNodes = 2 + pick(4);
    for (int i = 0; i < nNodes; ++i) {
        auto* leak = b.Add("TResistor", 100 + 120 * i, 20);
        P::Set(leak, "R", 1e4);
        if (i == 0) b.Wire(P::Pin(leak, "Connector2"), P::Pin(gnd, "Connector"));
        else b.WireToNode(P::Pin(leak, "Connector2"), P::Pin(gnd, "Connector"));
        nodes.push_back(P::Pin(leak, "Connector1"));
    }
    // The first element on a node gets a plain wire; later ones join it.
    std::vector<bool> wired(nodes.size(), false);
    auto attach = [&](TConnector* pin, int node) {
        if (node < 0) return b.WireToNode(pin, P::Pin(gnd, "Connector"));
        if (!wired[std::size_t(node)]) {
            b.Wire(pin, nodes[std::size_t(node)]);
            wired[std::size_t(node)] = true;
        } else {
            b.WireToNode(pin, nodes[std::size_t(node)]);
        }
    };
    const char* kinds[] = {"TResistor", "TCapacitor", "TInductance", "TVoltageSource", "TCurrentSource",
                           "TBattery",  "TAmper",     "TSolarBattery"};
    std::vector<TBaseElement*> ammeters;
    const int count = 3 + pick(6);
    for (int i = 0; i < count; ++i) {
        const char* kind = kinds[pick(8)];
        auto* e = b.Add(kind, 100 + 90 * i, 300 + 60 * (i % 3));
        // Values near the defaults, currents in milliamperes: potentials of
        // tens of volts keep the forward differences (absolute step pr)
        // accurate, so both loops converge to the same rounding.
        for (const auto& pv : e->ParamValues) {
            ParamValue* v = e->FindParam(pv.Def->Name);
            v->Value = v->Value * (0.5 + unit(rng));
        }
        if (std::string(kind) == "TCurrentSource" || std::string(kind) == "TSolarBattery")
            e->FindParam("I")->Value *= 1e-3;
        int n1 = pick(nNodes + 1) - 1, n2 = pick(nNodes + 1) - 1;
        if (n1 == n2) n2 = n1 < 0 ? 0 : -1;
        attach(e->FConnectors[0], n1);
        attach(e->FConnectors[1], n2);
        if (std::string(kind) == "TAmper") ammeters.push_back(e);
    }
    // Nonlinear elements with their default values: a diode and a switch
    // (its control pin on a node too) between random nodes.
    auto twoNodes = [&] {
        int n1 = pick(nNodes + 1) - 1, n2 = pick(nNodes + 1) - 1;
        if (n1 == n2) n2 = n1 < 0 ? 0 : -1;
        return std::pair{n1, n2};
    };
    if (pick(3) != 0) {
        auto* d = b.Add("TDiode", 100, 600);
        const auto [n1, n2] = twoNodes();
        attach(P::Pin(d, "Anode"), n1);
        attach(P::Pin(d, "Cathode"), n2);
    }
    const bool withSwitch = pick(3) != 0;
    if (withSwitch) {
        auto* sw = b.Add("TSwitch", 300, 600);
        const auto [n1, n2] = twoNodes();
        attach(P::Pin(sw, "Anode"), n1);
        attach(P::Pin(sw, "Cathode"), n2);
        attach(P::Pin(sw, "Control"), pick(nNodes + 1) - 1);
    }
    // Blocks: a sensor across two nodes, an integrator and a gain, a
    // controlled source, probes.
    auto* sensor = b.Add("TTestSensor", 900, 20);
    attach(P::Pin(sensor, "Plus"), pick(nNodes));
    attach(P::Pin(sensor, "Minus"), -1);
    auto* integ = b.Add("TTestIntegrator", 900, 200);
    auto* gain = b.Add("TTestGain", 1000, 200);
    auto* second = b.Add("TTestSecondOrder", 1100, 200);
    P::Set(gain, "K", 0.1 + unit(rng));
    b.Link(sensor, integ);
    b.Link(integ, gain);
    b.Link(ammeters.empty() ? sensor : ammeters[0], second);
    auto* cv = b.Add("TTestCV", 1200, 300);
    attach(P::Pin(cv, "Plus"), pick(nNodes));
    attach(P::Pin(cv, "Minus"), -1);
    b.Link(gain, cv);
    for (TBaseElement* src : {static_cast<TBaseElement*>(gain), static_cast<TBaseElement*>(second), sensor})
        b.Link(src, b.Add("TTestProbe", 1300, 100 + 50 * int(sheet.Consumers.Count())));
    return withSwitch;
}

TEST(TimeLoopOracle, FastLoopMatchesTheDenseAlgorithmOnRandomSchematics) {
    RecordingMessages messages;
    for (unsigned seed = 1; seed <= 25; ++seed) {
        Schematic sheet;
        std::mt19937 rng(seed);
        const bool withSwitch = BuildRandomSchematic(sheet, rng);
        TRunSettings& m = sheet.RunSettings;
        m.T = 2e-4;
        m.h = 1e-5;
        m.GS = 2e-5;
        // A switch's main branch sees the state its control branch left at
        // the previous read, so the number of reads between two iterations
        // (which the dense products multiply) may shift a switching by one
        // iteration; the solutions must agree all the same.
        CompareWithOracle(sheet, "seed " + std::to_string(seed), {.SameIterations = !withSwitch});
        CompareWithOracle(sheet, "seed " + std::to_string(seed) + " (sparse solver)", {.SparseSolver = true});
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries[0].Text;
}

} // namespace

// A branch whose EMF is affine within the step and states its slopes: the
// loop forms those columns instead of differencing them. The answer never
// rests on the stated slopes, only the work does: slopes that are wrong cost
// iterations, and a slope to a node the rows cannot read makes the loop
// difference the columns again.
class AffineSlopes : public TimeLoop {
protected:
    TTestAffine* affine = nullptr;
    TBaseElement* vs = nullptr;

    void SetUp() override {
        vs = GroundedSource(10);
        auto* r = b.Add("TResistor", 200, 60);
        P::Set(r, "R", 1000);
        affine = static_cast<TTestAffine*>(b.Add("TTestAffine", 300, 60));
        auto* gnd = b.Add("TGround", 300, 300);
        b.Wire(P::Pin(vs, "Plus"), P::Pin(r, "Connector1"));
        b.Wire(P::Pin(r, "Connector2"), P::Pin(affine, "Connector1"));
        b.Wire(P::Pin(affine, "Connector2"), P::Pin(gnd, "Connector"));
        m.T = 0.02;
        m.h = 1e-4;
        m.GS = 1e-4;
        // Tight, so that no step is taken as it starts.
        m.TNC = 1e-9;
    }

    // Node A between the resistor and the branch: (10 − V)/R_total = (1 − α)·V
    // + β·sin ωt, with the source's 0.01 Ω in series with the 1 kΩ.
    double Expected(double t) const {
        const double R = 1000.01;
        return (10 / R - affine->Beta * std::sin(2 * M_PI * 50 * t)) / (1 - affine->AlphaAt(t) + 1 / R);
    }

    // The largest error of V(A) over the run's samples.
    double WorstError(const TRunResult& r) {
        EXPECT_EQ(r.Status, TRunResult::Outcome::Finished);
        double worst = 0;
        for (const Sample& s : samples) worst = std::max(worst, std::abs(NodeValue(s) - Expected(s.time)));
        return worst;
    }

    double NodeValue(const Sample& s) const { return s.row[std::size_t(nodeColumn)]; }
    int nodeColumn = -1;

    TRunResult RunWith(bool reuse) {
        samples.clear();
        TRunContext context(sheet, "");
        EXPECT_TRUE(PrepareRun(context));
        const TConnector* a = P::Pin(affine, "Connector1");
        nodeColumn = sheet.Run().D.ysize + sheet.Run().F.ysize + a->FSimNode;
        TRunOptions o;
        o.ReuseJacobian = reuse;
        o.Sample = [this](double t, const std::vector<double>& row) { samples.push_back({t, row}); };
        return RunSimulation(context, o);
    }
};

TEST_F(AffineSlopes, StatedSlopesGiveTheDifferencedRunsAnswerInOneCorrectionAStep) {
    const TRunResult differenced = RunWith(false);
    const double differencedError = WorstError(differenced);
    const TRunResult formed = RunWith(true);
    EXPECT_LT(WorstError(formed), 4 * m.TNC);
    EXPECT_LT(differencedError, 4 * m.TNC);
    EXPECT_EQ(formed.Steps, 201);
    // The first step starts from rest, a correction away.
    EXPECT_LE(formed.Iterations, formed.Steps + 1);
    EXPECT_EQ(formed.Iterations, differenced.Iterations);
}

// An element's step begins once a step, at the step's model time, before
// anything reads it, with the last accepted solution in place.
TEST_F(AffineSlopes, EveryStepBeginsOnceBeforeItIsReadFromTheAcceptedSolution) {
    const TRunResult r = RunWith(true);
    ASSERT_EQ(affine->Begun.size(), std::size_t(r.Steps));
    EXPECT_FALSE(affine->ReadBeforeBegin);
    ASSERT_EQ(samples.size(), affine->Begun.size());
    for (std::size_t k = 0; k < affine->Begun.size(); ++k) {
        EXPECT_EQ(affine->Begun[k].first, samples[k].time) << k;
        // The step before's solution (the run starts from zero potentials).
        EXPECT_EQ(affine->Begun[k].second, k == 0 ? 0.0 : NodeValue(samples[k - 1])) << k;
    }
}

TEST_F(AffineSlopes, WrongSlopesCostIterationsButNotTheAnswer) {
    affine->StatedGain = 1.5;
    const TRunResult r = RunWith(true);
    EXPECT_GT(r.Iterations, r.Steps + r.Steps / 2);
    // Accepted only inside the accuracy: |F| < TNC at a node of about 0.5 S.
    EXPECT_LT(WorstError(r), 4 * m.TNC);
}

TEST_F(AffineSlopes, ASlopeToANodeTheRowsDoNotReadTurnsBackToDifferences) {
    // A divider on the source, whose middle node B only its own rows read.
    auto* r1 = b.Add("TResistor", 200, 300);
    auto* r2 = b.Add("TResistor", 300, 400);
    b.WireToNode(P::Pin(r1, "Connector1"), P::Pin(vs, "Plus"));
    b.Wire(P::Pin(r1, "Connector2"), P::Pin(r2, "Connector1"));
    b.WireToNode(P::Pin(r2, "Connector2"), P::Pin(vs, "Minus"));
    const TRunResult exact = RunWith(true);
    const std::vector<Sample> expected = samples;
    affine->StatedGain = 1.5;  // would cost iterations, were it used
    affine->StrayNode = P::Pin(r1, "Connector2")->FSimNode;
    ASSERT_GE(affine->StrayNode, 0);
    const TRunResult r = RunWith(true);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished);
    EXPECT_EQ(r.Iterations, exact.Iterations);
    ASSERT_EQ(samples.size(), expected.size());
    for (std::size_t k = 0; k < samples.size(); ++k)
        EXPECT_NEAR(NodeValue(samples[k]), NodeValue(expected[k]), 4 * m.TNC);
}
