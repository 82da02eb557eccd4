#include "Simulation/Assert.h"

#include <cstdio>
#include <cstdlib>

void AssertionFailed(const char* text, const char* unit, int line) {
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", text, unit, line);
    std::fflush(stderr);
    std::abort();
}
