// The half-wave thyristor rectifier of the examples over one second with
// h = 1e-5: the latch switches twice a period, which is where Newton
// iterations are spent.
#include <benchmark/benchmark.h>

#include <string>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Messages.h"
#include "model/Schematic.h"

namespace {

void RunHalfWave(benchmark::State& state, double T) {
    StderrMessages quiet;
    SetMessages(&quiet);
    Schematic sheet;
    if (LoadSchematic(sheet, std::string(QUENTOR_SOURCE_DIR) +
                                 "/examples/thyristor_half_wave.dvn") != TLoadResult::Loaded) {
        state.SkipWithError("the example did not load");
        return;
    }
    TSimModel& m = sheet.SimModel();
    m.T = T;
    m.h = 1e-5;
    std::int64_t steps = 0, iterations = 0;
    for (auto _ : state) {
        if (!PrepareRun(sheet, "")) {
            state.SkipWithError("the run did not start");
            return;
        }
        TRunOptions o;
        o.OutputDir = "";
        const TRunResult r = RunSimulation(sheet, o);
        steps += r.Steps;
        iterations += r.Iterations;
    }
    state.counters["time_per_step"] = benchmark::Counter(
        double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["newton_per_step"] = double(iterations) / double(steps);
    SetMessages(nullptr);
}

} // namespace

static void BM_ThyristorHalfWave(benchmark::State& state) {
    RunHalfWave(state, 1.0);
}

BENCHMARK(BM_ThyristorHalfWave)->Unit(benchmark::kMillisecond);
