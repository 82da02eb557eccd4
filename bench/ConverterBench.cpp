// The V/f drive (an inverter feeding the squirrel-cage motor) and the
// six-pulse inverter bridge, from their example files; h = 1e-5.
#include "circuits/TimedRuns.h"

static void BM_VfInductionDrive(benchmark::State& state) { TimeExample(state, "vf_induction_drive.dvn", 2); }
static void BM_SixPulseInverter(benchmark::State& state) { TimeExample(state, "six_pulse_inverter.dvn", 0.1); }

BENCHMARK(BM_VfInductionDrive)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SixPulseInverter)->Unit(benchmark::kMillisecond);
