// 64 variants of the DC cascade drive (its speed controller's gain swept)
// on one thread and on two: the ratio of the two times is the sweep's use
// of a second core. Each variant writes its result files, as a sweep does.
#include <benchmark/benchmark.h>

#include <atomic>
#include <filesystem>
#include <string>
#include <vector>

#include "app/SchematicFile.h"
#include "app/Sweep.h"
#include "model/Schematic.h"
#include "params/Cp1251.h"

namespace {

void BM_SweepDcDrive64(benchmark::State& state) {
    std::vector<std::string> lines;
    if (!ReadTextFile(std::string(QUENTOR_SOURCE_DIR) + "/examples/dc_drive_cascade.dvn", lines)) {
        state.SkipWithError("the example did not load");
        return;
    }
    Schematic sheet;
    LoadSchematicLines(sheet, lines);
    TSweepSetup setup;
    TVaryAxis axis;
    std::string error;
    if (!ParseVary(sheet, "A4.K=0.5:2:64", axis, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    setup.Axes.push_back(axis);
    const std::vector<TVariant> variants = ExpandVariants(sheet, setup);
    TVariantRunOptions options;
    options.Settings = {{"T", 0.1}};
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "quentor-sweep-bench";
    const std::atomic<bool> stop{false};
    int finished = 0;
    for (auto _ : state) {
        const TSweepRun r = RunSweep(lines, setup, variants, dir.string(), options, int(state.range(0)), stop, {}, {});
        finished = r.Finished;
    }
    std::filesystem::remove_all(dir);
    if (finished != 64) state.SkipWithError("not every variant finished");
    state.counters["variants"] = 64;
}

} // namespace

BENCHMARK(BM_SweepDcDrive64)->Arg(1)->Arg(2)->ArgName("jobs")->Unit(benchmark::kSecond)->UseRealTime()->Iterations(1);
