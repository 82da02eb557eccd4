// The selsyn link from its example file: transmitter and receiver wired
// phase to phase on one 400 Hz supply, T = 2 s, h = 1e-5 (200 000 steps).
#include "circuits/TimedRuns.h"

static void BM_SelsynLink(benchmark::State& state) { TimeExample(state, "selsyn_link.dvn", 2); }

BENCHMARK(BM_SelsynLink)->Unit(benchmark::kMillisecond);
