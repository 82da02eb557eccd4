// Every test program gets a Newton-iteration limit: a fault that keeps a
// step from converging then ends the run with a message instead of hanging
// the suite. Tests of the limit itself set their own.
#include "Simulation/RunSimulation.h"

namespace {
[[maybe_unused]] const bool limited = (SetDefaultMaxIterations(10000), true);
}
