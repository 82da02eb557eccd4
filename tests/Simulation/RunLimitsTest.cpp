#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "Simulation/ModelAssembly.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "Simulation/TSimThread.h"
#include "model/Schematic.h"
#include "params/ValueText.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;
using P = CircuitBuilder;

// Size of a byte count as the messages give it, worked out here by hand.
std::string Gigabytes(double bytes) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f ГБ", bytes / (1024.0 * 1024.0 * 1024.0));
    return text;
}

class RunLimits : public ::testing::Test {
protected:
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b{sheet};
    TRunSettings& m = sheet.RunSettings;
    TempDir dir;
};

TEST_F(RunLimits, AModelThatCannotFitIsRefusedQuicklyNamingItsSize) {
    // 100 000 unconnected gains: the coupling matrix of static inputs to
    // static outputs alone holds 10^10 values, some 300 GB.
    const int n = 100000;
    for (int i = 0; i < n; ++i)
        b.Add("TGain", 60 * (i % 300), 60 * (i / 300));
    const auto start = std::chrono::steady_clock::now();
    TRunContext context(sheet, dir.Path().string());
    EXPECT_FALSE(PrepareRun(context));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    ASSERT_EQ(messages.Entries.size(), 1u);
    const std::string& text = messages.Entries[0].Text;
    // Qc (n×n) and F (n) of the assembly; the sparse Jacobian of n unknowns.
    const double bytes = double(sizeof(TValue)) * (double(n) * n + n) + 10.0 * n * double(sizeof(double) + sizeof(int));
    EXPECT_EQ(text.rfind("Для моделирования схемы (100000 неизвестных, 0 ветвей) нужно " +
                             Gigabytes(bytes) + " памяти, а свободно ",
                         0),
              0u)
        << text;
    EXPECT_NE(text.find(". Моделирование не запущено."), std::string::npos);
    // Nothing was assembled and no file written.
    EXPECT_FALSE(std::filesystem::exists(dir.File("debug.txt")));
}

TEST_F(RunLimits, TheEstimateCountsEveryDenseMatrixOfAssemblyAndGrowsLinearlyWithTheCircuit) {
    // Two sources and two resistors on one grounded loop: nodes and branches
    // as model assembly gives them.
    auto* vs = b.Add("TVoltageSource", 100, 100);
    auto* r = b.Add("TResistor", 300, 100);
    auto* gnd = b.Add("TGround", 100, 300);
    b.Wire(P::Pin(vs, "Plus"), P::Pin(r, "Connector1"));
    b.Wire(P::Pin(vs, "Minus"), P::Pin(gnd, "Connector"));
    b.WireToNode(P::Pin(r, "Connector2"), P::Pin(gnd, "Connector"));
    b.Link(b.Add("TTestConst", 10, 10), b.Add("TTestProbe", 100, 10));
    TRunContext context(sheet, dir.Path().string());
    ASSERT_TRUE(PrepareRun(context));
    const TSimModel& model = *context.Model();
    const TModelSize s = CountModel(sheet);
    EXPECT_EQ(s.nNodes, model.NodeRows);
    EXPECT_EQ(s.nBr, std::int64_t(model.Branches.size()));
    EXPECT_EQ(s.nProd, model.Un.ysize);
    EXPECT_EQ(s.nCons, model.N.ysize);
    const TMatrix* all[] = {&model.A,   &model.B,   &model.C,   &model.D,   &model.Xk,  &model.G,   &model.Ge,  &model.Hd,
                            &model.Hc,  &model.P,   &model.Pe,  &model.Qd,  &model.Qc,  &model.N,   &model.Ne,  &model.Nc,
                            &model.Nd,  &model.Mec, &model.Med, &model.Meu, &model.Mev, &model.Mjc, &model.Mjd, &model.Mju,
                            &model.Mjv, &model.F,   &model.Un,  &model.Mf,  &model.En,  &model.Jn};
    double values = 0;
    for (const TMatrix* x : all)
        values += double(x->Size());
    EXPECT_EQ(DenseMatrixValues(s), values);
    EXPECT_GT(ModelBytes(s), values * sizeof(TValue));

    // A circuit of ten thousand nodes needs tens of megabytes, not the
    // gigabytes of dense branch matrices.
    TModelSize ladder;
    ladder.nNodes = 10000;
    ladder.nBr = 20001;
    ladder.nProd = 0;
    EXPECT_LT(ModelBytes(ladder), 100e6);
    TModelSize ten = ladder;
    ten.nNodes *= 10;
    ten.nBr *= 10;
    EXPECT_LT(ModelBytes(ten), 11 * ModelBytes(ladder));
}

TEST_F(RunLimits, AStepTooSmallToMoveTheTimeAtTheEndIsRefused) {
    b.Add("TResistor", 100, 100);
    struct Case {
        double T, h;
        bool accepted;
    } cases[] = {
        {1e308, 1e-310, false}, // the model time would never advance
        {1e9, 1e-9, false},     // advances at first, stalls long before T
        {1.0, 1e-17, false},    // below half the spacing of doubles at 1
        {1.0, 1.2e-16, true},   // above it: every sum below 1 still grows
        {1.0, 1e-5, true},
    };
    for (const Case& c : cases) {
        m.T = c.T;
        m.h = c.h;
        std::string message;
        EXPECT_EQ(CheckRunSettings(m, message), c.accepted) << c.T << " " << c.h;
        if (!c.accepted) {
            EXPECT_EQ(message, "Шаг моделирования " + FormatReal(c.h) + " слишком мал: при t = " +
                                   FormatReal(c.T) + " с модельное время перестаёт расти.");
        }
        // Where the check accepts, adding h to the largest time below T
        // really moves it.
        const double last = std::nextafter(c.T, 0.0);
        if (c.accepted) {
            EXPECT_GT(last + c.h, last);
        }
    }
}

TEST_F(RunLimits, ALongRunOrOneWhoseSamplesFillTheMemoryAsksFirst) {
    b.Link(b.Add("TTestConst", 10, 10), b.Add("TTestProbe", 100, 10));
    m.T = 1e5; // 10^10 steps of 1e-5
    m.GS = 1e3;
    messages.Answers = {TAnswer::No};
    TRunContext context(sheet, dir.Path().string());
    EXPECT_FALSE(PrepareRun(context));
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "question");
    EXPECT_EQ(messages.Entries[0].Text,
              "Моделирование займёт 10000000000 шагов, это очень долго. Продолжить?");
    messages.Clear();
    messages.Answers = {TAnswer::Yes};
    EXPECT_TRUE(PrepareRun(context));
    EXPECT_EQ(messages.Entries.size(), 1u);

    // 10^6 + 1 samples, each of the unknowns (none), the consumer input and
    // the time: 2 doubles.
    messages.Clear();
    m.T = 10;
    m.h = 1e-5;
    m.GS = 1e-5;
    TRunLimits limits;
    limits.AvailableBytes = 16e6; // 16 MB free: samples of 16 MB exceed half of it
    std::string asked;
    limits.Confirm = [&asked](const std::string& reason) {
        asked = reason;
        return false;
    };
    EXPECT_FALSE(PrepareRun(context, limits));
    const double samples = std::floor(10 / 1e-5 + 1) * 2 * 8;
    char expected[160];
    std::snprintf(expected, sizeof expected,
                  "Отсчёты графиков займут до %.1f МБ памяти при свободных %.1f МБ.",
                  samples / 1048576.0, 16e6 / 1048576.0);
    EXPECT_EQ(asked, expected);
    EXPECT_TRUE(messages.Entries.empty());
    // Within the limits nobody is asked.
    m.GS = 1e-3;
    asked.clear();
    EXPECT_TRUE(PrepareRun(context, limits));
    EXPECT_EQ(asked, "");
}

TEST_F(RunLimits, StepsOrOutputStepsLongerThanTheRunAreWarnedAbout) {
    m.T = 0.01;
    m.h = 0.02;
    m.GS = 0.5;
    EXPECT_EQ(RunSettingsWarnings(m),
              (std::vector<std::string>{"Шаг моделирования 0.02 больше длительности моделирования "
                                        "0.01: будет сделан только один шаг.",
                                        "Шаг вывода графиков 0.5 больше длительности моделирования "
                                        "0.01: будет записан только отсчёт при "
                                        "t = 0."}));
    m.h = 0.01;
    m.GS = 0.01;
    EXPECT_TRUE(RunSettingsWarnings(m).empty());
}

TEST_F(RunLimits, APreviousRunsResultFilesNeverStandBesideANewDump) {
    b.Link(b.Add("TTestConst", 10, 10), b.Add("TTestProbe", 100, 10));
    for (const char* name : {"graf.dat", "graf.grp"})
        std::ofstream(dir.File(name)) << "old run";
    TRunContext context(sheet, dir.Path().string());
    ASSERT_TRUE(PrepareRun(context));
    EXPECT_TRUE(std::filesystem::exists(dir.File("debug.txt")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("graf.dat")));
    EXPECT_FALSE(std::filesystem::exists(dir.File("graf.grp")));
}

// The run thread's edge: an exception inside the loop ends the run with a
// message, the samples so far are written, and the caller goes on.
class ThreadEdge : public RunLimits {
protected:
    TRunResult last;
    std::atomic<int> finished{0};

    TRunResult RunToEnd(double kind) {
        auto* t = b.Add("TTestThrowing", 10, 10);
        P::Set(t, "At", 0.0105);
        P::Set(t, "Kind", kind);
        b.Link(t, b.Add("TTestProbe", 100, 10));
        m.T = 1;
        m.h = 1e-3;
        m.GS = 1e-3;
        TSimThread::Options o;
        o.OutputDir = dir.Path().string();
        o.Finished = [this](const TRunResult& r) {
            last = r;
            ++finished;
        };
        auto run = TSimThread::Create(sheet, std::move(o));
        EXPECT_TRUE(run);
        if (!run) return {};
        for (int i = 0; i < 5000 && !run->Finished(); ++i)
            std::this_thread::sleep_for(1ms);
        run->Stop();
        EXPECT_EQ(finished.load(), 1);
        return last;
    }
};

TEST_F(ThreadEdge, MemoryExhaustedInsideTheLoopEndsTheRunWithTheSamplesSoFar) {
    const TRunResult r = RunToEnd(0);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Failed);
    // Steps at 0, 1 ms, ..., 10 ms succeed; the one at 11 ms throws.
    EXPECT_EQ(r.Message, "Недостаточно памяти: моделирование остановлено при t = " +
                             FormatReal(r.FailureTime) + " с.");
    EXPECT_NEAR(r.FailureTime, 0.011, 1e-9);
    EXPECT_EQ(r.Samples, 11);
    const GrafGrp grp = ReadGrafGrp(dir.File("graf.grp"));
    ASSERT_EQ(grp.Times.size(), 11u);
    EXPECT_FLOAT_EQ(grp.Values[10][0], 1.0f);
    EXPECT_EQ(ReadGrafDat(dir.File("graf.dat")).size(), 11u);
}

TEST_F(ThreadEdge, AnyOtherExceptionEndsTheRunNamingIt) {
    const TRunResult r = RunToEnd(1);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Failed);
    EXPECT_EQ(r.Message, "Моделирование остановлено при t = " + FormatReal(r.FailureTime) +
                             " с из-за внутренней ошибки: проба");
    EXPECT_EQ(ReadGrafGrp(dir.File("graf.grp")).Times.size(), 11u);
}

} // namespace
