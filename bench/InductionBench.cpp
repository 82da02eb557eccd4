// Direct-on-line start of the three-phase induction motor, from its example
// file: T = 1 s, h = 1e-5 (100 000 steps).
#include <benchmark/benchmark.h>

#include <string>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Messages.h"
#include "model/Schematic.h"

namespace {

void BM_InductionDolStart(benchmark::State& state) {
    StderrMessages quiet;
    SetMessages(&quiet);
    Schematic sheet;
    if (LoadSchematic(sheet, std::string(QUENTOR_SOURCE_DIR) +
                                 "/examples/induction_dol_start.dvn") != TLoadResult::Loaded) {
        state.SkipWithError("the example did not load");
        SetMessages(nullptr);
        return;
    }
    TSimModel& m = sheet.SimModel();
    m.T = 1;
    m.h = 1e-5;
    std::int64_t steps = 0, iterations = 0;
    for (auto _ : state) {
        if (!PrepareRun(sheet, "")) {
            state.SkipWithError("the run did not start");
            break;
        }
        TRunOptions o;
        o.OutputDir = "";
        const TRunResult r = RunSimulation(sheet, o);
        steps += r.Steps;
        iterations += r.Iterations;
    }
    state.counters["time_per_step"] = benchmark::Counter(
        double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (steps) state.counters["newton_per_step"] = double(iterations) / double(steps);
    SetMessages(nullptr);
}

} // namespace

BENCHMARK(BM_InductionDolStart)->Unit(benchmark::kMillisecond);
