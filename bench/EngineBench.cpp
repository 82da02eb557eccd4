// Time loop benchmarks: the RC circuit and resistor-capacitor ladders.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

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
    sheet->SimModel().T = T;
    std::int64_t steps = 0;
    for (auto _ : state) {
        PrepareRun(*sheet, "");
        RunDenseOracle(*sheet);
        steps += std::int64_t(T / sheet->SimModel().h);
    }
    state.counters["time_per_step"] =
        benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    SetMessages(nullptr);
}

void Run(benchmark::State& state, std::unique_ptr<Schematic> sheet, double T) {
    StderrMessages quiet;
    SetMessages(&quiet);
    sheet->SimModel().T = T;
    TimeRuns(state, *sheet);
    SetMessages(nullptr);
}

void RunOnce(benchmark::State& state, int sections, double T) { Run(state, Ladder(sections), T); }

} // namespace

static void BM_Mesh30(benchmark::State& state) { Run(state, Mesh(30, 30), 2e-3); }
static void BM_RcCircuit(benchmark::State& state) { RunOnce(state, 1, 1.0); }
static void BM_Ladder10(benchmark::State& state) { RunOnce(state, 10, 1.0); }
static void BM_Ladder100(benchmark::State& state) { RunOnce(state, 100, 0.01); }
static void BM_Ladder1000(benchmark::State& state) { RunOnce(state, 1000, 1e-2); }
static void BM_Ladder10000(benchmark::State& state) { RunOnce(state, 10000, 1e-2); }

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
BENCHMARK(BM_Mesh30)->Unit(benchmark::kMillisecond)->Iterations(1);

BENCHMARK_MAIN();
