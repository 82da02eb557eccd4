// The speed and current cascade of a DC drive, from its example file.
#include <benchmark/benchmark.h>

#include <string>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Messages.h"
#include "model/Schematic.h"

namespace {

void BM_DcDriveCascade(benchmark::State& state) {
    StderrMessages quiet;
    SetMessages(&quiet);
    Schematic sheet;
    if (LoadSchematic(sheet, std::string(QUENTOR_SOURCE_DIR) + "/examples/dc_drive_cascade.dvn") !=
        TLoadResult::Loaded) {
        state.SkipWithError("the example did not load");
        SetMessages(nullptr);
        return;
    }
    TSimModel& m = sheet.SimModel();
    m.T = 2;
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
    state.counters["time_per_step"] =
        benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (steps) state.counters["newton_per_step"] = double(iterations) / double(steps);
    SetMessages(nullptr);
}

} // namespace

BENCHMARK(BM_DcDriveCascade)->Unit(benchmark::kMillisecond);
