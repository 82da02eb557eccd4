#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include "Simulation/SimModel.h"
#include "Simulation/TSimThread.h"
#include "model/Schematic.h"
#include "support/CircuitBuilder.h"
#include "support/EngineTestElements.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

using namespace std::chrono_literals;

// Waits until the predicate holds or a generous deadline passes.
template <class F>
bool WaitFor(F done) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(2ms);
    }
    return true;
}

class SimThread : public ::testing::Test {
protected:
    RecordingMessages messages;
    Schematic sheet;
    TempDir dir;
    std::atomic<int> finishedCalls{0};
    TRunResult last;

    SimThread() {
        CircuitBuilder b(sheet);
        auto* c = b.Add("TTestConst", 10, 10);
        b.Link(c, b.Add("TTestProbe", 100, 10));
        b.Add("TTestIntegrator", 10, 100);
        sheet.RunSettings.T = 1e4;  // runs until stopped (10^9 steps, as many as run without asking)
    }

    std::unique_ptr<TSimThread> Start() {
        TSimThread::Options o;
        o.OutputDir = dir.Path().string();
        o.Finished = [this](const TRunResult& r) {
            last = r;
            ++finishedCalls;
        };
        return TSimThread::Create(sheet, std::move(o));
    }
};

TEST_F(SimThread, PauseHoldsTheModelTimeAndStartResumesTheSameRun) {
    auto run = Start();
    ASSERT_TRUE(run);
    ASSERT_TRUE(WaitFor([&] { return run->Time() > 0.01; }));
    run->Pause();
    EXPECT_TRUE(run->Paused());
    std::this_thread::sleep_for(20ms);  // let the loop reach its wait
    const double held = run->Time();
    std::this_thread::sleep_for(50ms);
    EXPECT_EQ(run->Time(), held);
    run->Resume();
    EXPECT_TRUE(WaitFor([&] { return run->Time() > held + 0.01; }));
    run->Stop();
    EXPECT_EQ(finishedCalls.load(), 1);
    EXPECT_EQ(last.Status, TRunResult::Outcome::Stopped);
    EXPECT_GT(last.Samples, 1);
}

TEST_F(SimThread, StopOnAPausedRunWritesTheSamplesSoFar) {
    auto run = Start();
    ASSERT_TRUE(run);
    ASSERT_TRUE(WaitFor([&] { return run->Time() > 0.02; }));
    run->Pause();
    run->Stop();
    EXPECT_TRUE(run->Finished());
    EXPECT_EQ(finishedCalls.load(), 1);
    const GrafGrp grp = ReadGrafGrp(dir.File("graf.grp"));
    EXPECT_EQ(std::int64_t(grp.Times.size()), last.Samples);
    EXPECT_GE(grp.Times.size(), 2u);
    EXPECT_FLOAT_EQ(grp.Values[1][0], 1.0f);
    run.reset();  // a second Stop, from the destructor, is harmless
    EXPECT_EQ(finishedCalls.load(), 1);
}

TEST_F(SimThread, ARunThatReachesItsEndFinishesByItself) {
    sheet.RunSettings.T = 0.05;
    auto run = Start();
    ASSERT_TRUE(run);
    EXPECT_TRUE(WaitFor([&] { return run->Finished(); }));
    EXPECT_EQ(run->Time(), 0.05);  // the status shows T once the run reached it
    run->Stop();
    EXPECT_EQ(last.Status, TRunResult::Outcome::Finished);
}

// Random start, pause, resume and stop sequences; also clean under
// ThreadSanitizer (make tsan). Every run ends exactly once, as stopped or
// finished, and its files hold the samples it reports.
TEST_F(SimThread, RandomCyclesOfStartPauseResumeAndStopEndEveryRunCleanly) {
    std::mt19937 random(2026);
    auto chance = [&random](int percent) { return int(random() % 100) < percent; };
    for (int cycle = 0; cycle < 200; ++cycle) {
        // One run in five is short enough to reach its end by itself.
        const bool shortRun = chance(20);
        sheet.RunSettings.T = shortRun ? 0.002 : 1e4;
        finishedCalls = 0;
        auto run = Start();
        ASSERT_TRUE(run) << cycle;
        const int operations = int(random() % 5);
        bool paused = false;
        for (int k = 0; k < operations; ++k) {
            std::this_thread::sleep_for(std::chrono::microseconds(random() % 400));
            if (paused)
                run->Resume();
            else
                run->Pause();
            paused = !paused;
            EXPECT_EQ(run->Paused(), paused) << cycle;
            EXPECT_LE(run->Time(), sheet.RunSettings.T);
        }
        if (shortRun && !paused) {
            ASSERT_TRUE(WaitFor([&] { return run->Finished(); })) << cycle;
        }
        run->Stop();
        EXPECT_TRUE(run->Finished()) << cycle;
        EXPECT_EQ(finishedCalls.load(), 1) << cycle;
        if (last.Status == TRunResult::Outcome::Finished) {
            EXPECT_EQ(last.Steps, 200) << cycle;
        } else {
            EXPECT_EQ(last.Status, TRunResult::Outcome::Stopped) << cycle;
        }
        const GrafGrp grp = ReadGrafGrp(dir.File("graf.grp"));
        EXPECT_EQ(std::int64_t(grp.Times.size()), last.Samples) << cycle;
        run.reset();
        EXPECT_EQ(finishedCalls.load(), 1) << cycle;
    }
}

TEST_F(SimThread, InvalidSettingsCreateNoRun) {
    sheet.RunSettings.h = 0;
    EXPECT_EQ(Start(), nullptr);
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{"Шаг моделирования должен быть больше нуля."}));
    EXPECT_EQ(finishedCalls.load(), 0);
}

} // namespace
