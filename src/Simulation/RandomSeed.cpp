#include "Simulation/RandomSeed.h"

#include <atomic>
#include <cstdlib>
#include <ctime>

#include "params/ValueText.h"

namespace {
std::atomic<long long> fixedSeed{-1};
thread_local std::optional<unsigned> threadSeed;
}

void SetFixedRandomSeed(std::optional<unsigned> seed) { fixedSeed.store(seed ? (long long)*seed : -1); }

unsigned RunRandomSeed() {
    if (threadSeed) return *threadSeed;
    if (const long long s = fixedSeed.load(); s >= 0) return unsigned(s);
    if (const char* env = std::getenv("QUENTOR_SEED"); env && *env) {
        long v = 0;
        if (ParseInt(env, v)) return unsigned(v);
    }
    return unsigned(std::time(nullptr));
}

std::optional<unsigned> SetThreadRandomSeed(std::optional<unsigned> seed) {
    const std::optional<unsigned> previous = threadSeed;
    threadSeed = seed;
    return previous;
}
