// Direct-on-line start of the three-phase induction motor, from its example
// file: T = 1 s, h = 1e-5 (100 000 steps).
#include "circuits/TimedRuns.h"

static void BM_InductionDolStart(benchmark::State& state) { TimeExample(state, "induction_dol_start.dvn", 1); }

BENCHMARK(BM_InductionDolStart)->Unit(benchmark::kMillisecond);
