// The thyristor examples over one second with h = 1e-5: the half-wave
// rectifier, whose latch switches twice a period, and the bridge feeding a
// DC motor, whose four latches switch four times a period. Switching is
// where Newton iterations are spent.
#include "circuits/TimedRuns.h"

#include <cstdint>
#include <string>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "model/Messages.h"
#include "model/Schematic.h"

namespace {

bool Finishes(const char* file, double T, double pr, std::int64_t limit) {
    Schematic sheet;
    TRunContext context(sheet, "");
    if (!LoadExample(sheet, file, T, pr) || !PrepareRun(context)) return false;
    TRunOptions o;
    o.MaxIterations = limit;
    return RunSimulation(context, o).Status == TRunResult::Outcome::Finished;
}

// The fewest iterations a step may be allowed for the whole run to finish:
// the most that one step needs. The runs are deterministic, and one that
// is allowed too few stops at the first step that needs more.
std::int64_t MostIterationsInOneStep(const char* file, double T, double pr) {
    std::int64_t fails = 0, finishes = 1;
    while (!Finishes(file, T, pr, finishes)) {
        fails = finishes;
        finishes *= 2;
        if (finishes > 4096) return -1;
    }
    while (finishes - fails > 1) {
        const std::int64_t mid = (fails + finishes) / 2;
        (Finishes(file, T, pr, mid) ? finishes : fails) = mid;
    }
    return finishes;
}

// pr > 0 replaces the file's derivative increment.
void RunExample(benchmark::State& state, const char* file, double T, double pr, bool most) {
    TimeExample(state, file, T, pr);
    if (most) state.counters["most_in_one_step"] = double(MostIterationsInOneStep(file, T, pr));
}

} // namespace

static void BM_ThyristorHalfWave(benchmark::State& state) {
    RunExample(state, "thyristor_half_wave.dvn", 1.0, 0, false);
}

// With the file's derivative increment 1e-5, and with the 1e-7 of the other
// examples, which the 300 V of this circuit leave too small.
static void BM_ThyristorBridgeDcMotor(benchmark::State& state) {
    RunExample(state, "thyristor_bridge_dc_motor.dvn", 1.0, 0, true);
}

static void BM_ThyristorBridgeDcMotorPr1e7(benchmark::State& state) {
    RunExample(state, "thyristor_bridge_dc_motor.dvn", 1.0, 1e-7, true);
}

BENCHMARK(BM_ThyristorHalfWave)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThyristorBridgeDcMotor)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThyristorBridgeDcMotorPr1e7)->Unit(benchmark::kMillisecond);
