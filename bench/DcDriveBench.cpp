// The speed and current cascade of a DC drive, from its example file.
#include "circuits/TimedRuns.h"

static void BM_DcDriveCascade(benchmark::State& state) { TimeExample(state, "dc_drive_cascade.dvn", 2); }

BENCHMARK(BM_DcDriveCascade)->Unit(benchmark::kMillisecond);
