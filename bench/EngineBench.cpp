// Time loop benchmarks: the RC circuit and resistor-capacitor ladders.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstdint>
#include <memory>
#include <utility>
#include <string>
#include <vector>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "circuits/Circuits.h"
#include "circuits/TimedRuns.h"
#include "support/DenseOracle.h"

namespace {

// The literal dense algorithm on the same circuit, for the ratio.
void RunDense(benchmark::State& state, int sections, double T) {
    StderrMessages quiet;
    SetMessages(&quiet);
    auto sheet = Ladder(sections);
    sheet->RunSettings.T = T;
    std::int64_t steps = 0;
    for (auto _ : state) {
        TRunContext context(*sheet, "");
        PrepareRun(context);
        RunDenseOracle(*sheet);
        steps += std::int64_t(T / sheet->RunSettings.h);
    }
    state.counters["time_per_step"] =
        benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    SetMessages(nullptr);
}

void Run(benchmark::State& state, std::unique_ptr<Schematic> sheet, double T) {
    StderrMessages quiet;
    SetMessages(&quiet);
    sheet->RunSettings.T = T;
    TimeRuns(state, *sheet);
    SetMessages(nullptr);
}

void RunOnce(benchmark::State& state, int sections, double T) { Run(state, Ladder(sections), T); }

// CPU time of this thread: what other processes on the machine do changes it
// much less than the wall clock.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + 1e-9 * double(t.tv_nsec);
}

// One step of a long run: the difference of a run of 3N and one of N steps,
// so that assembly, analysis and the first touches of memory, paid once a
// run, fall out; this is the figure that must grow linearly with the size.
void RunMarginal(benchmark::State& state, int sections, int steps) {
    StderrMessages quiet;
    SetMessages(&quiet);
    auto sheet = Ladder(sections);
    TSimModel& m = sheet->Run();
    const auto timed = [&](int n) {
        m.T = n * m.h;
        TRunContext context(*sheet, "");
        PrepareRun(context);
        TRunOptions o;
        const double start = ThreadSeconds();
        const TRunResult r = RunSimulation(context, o);
        return std::pair(ThreadSeconds() - start, r.Steps);
    };
    std::int64_t counted = 0;
    for (auto _ : state) {
        const auto [shortTime, shortSteps] = timed(steps);
        const auto [longTime, longSteps] = timed(3 * steps);
        state.SetIterationTime(longTime - shortTime);
        counted += longSteps - shortSteps;
    }
    state.counters["time_per_step"] =
        benchmark::Counter(double(counted), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    SetMessages(nullptr);
}

} // namespace

static void BM_Mesh30(benchmark::State& state) { Run(state, Mesh(30, 30), 2e-3); }
static void BM_RcCircuit(benchmark::State& state) { RunOnce(state, 1, 1.0); }
static void BM_Ladder10(benchmark::State& state) { RunOnce(state, 10, 1.0); }
static void BM_Ladder100(benchmark::State& state) { RunOnce(state, 100, 0.01); }
static void BM_Ladder1000(benchmark::State& state) { RunOnce(state, 1000, 1e-2); }
static void BM_Ladder10000(benchmark::State& state) { RunOnce(state, 10000, 1e-2); }
static void BM_StepLadder100(benchmark::State& state) { RunMarginal(state, 100, 1000); }
static void BM_StepLadder1000(benchmark::State& state) { RunMarginal(state, 1000, 1000); }
static void BM_StepLadder10000(benchmark::State& state) { RunMarginal(state, 10000, 200); }

// The first 10 ms of each, fast and dense: the charging phase, where every
// step needs Newton iterations.
static void BM_RcCircuit10ms(benchmark::State& state) { RunOnce(state, 1, 0.01); }
static void BM_RcCircuit10msDense(benchmark::State& state) { RunDense(state, 1, 0.01); }
static void BM_Ladder10_10ms(benchmark::State& state) { RunOnce(state, 10, 0.01); }
static void BM_Ladder10_10msDense(benchmark::State& state) { RunDense(state, 10, 0.01); }

BENCHMARK(BM_RcCircuit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RcCircuit10ms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RcCircuit10msDense)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder10_10ms)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder10_10msDense)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder10)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder100)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Ladder1000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_Ladder10000)->Unit(benchmark::kMillisecond)->Iterations(1);
BENCHMARK(BM_StepLadder100)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_StepLadder1000)->Unit(benchmark::kMicrosecond)->UseManualTime();
BENCHMARK(BM_StepLadder10000)->Unit(benchmark::kMicrosecond)->UseManualTime()->Iterations(2);
BENCHMARK(BM_Mesh30)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
