#include "circuits/TimedRuns.h"

#include <cstdint>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Messages.h"
#include "model/Schematic.h"

void TimeRuns(benchmark::State& state, Schematic& sheet) {
    std::int64_t steps = 0, iterations = 0;
    for (auto _ : state) {
        TRunContext context(sheet, "");
        if (!PrepareRun(context)) {
            state.SkipWithError("the run did not start");
            return;
        }
        TRunOptions o;
        const TRunResult r = RunSimulation(context, o);
        steps += r.Steps;
        iterations += r.Iterations;
    }
    state.counters["unknowns"] = double(sheet.Run().Phi.size());
    state.counters["time_per_step"] =
        benchmark::Counter(double(steps), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    if (steps) state.counters["newton_per_step"] = double(iterations) / double(steps);
}

bool LoadExample(Schematic& sheet, const std::string& file, double T, double pr) {
    if (LoadSchematic(sheet, std::string(QUENTOR_SOURCE_DIR) + "/examples/" + file) != TLoadResult::Loaded)
        return false;
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = 1e-5;
    if (pr > 0) m.pr = pr;
    return true;
}

void TimeExample(benchmark::State& state, const std::string& file, double T, double pr) {
    StderrMessages quiet;
    SetMessages(&quiet);
    Schematic sheet;
    if (LoadExample(sheet, file, T, pr)) TimeRuns(state, sheet);
    else state.SkipWithError("the example did not load");
    SetMessages(nullptr);
}
