#pragma once

#include <optional>

// Seed of the random-number generators of a run: the wall clock in seconds,
// unless a fixed seed was given (the runner's --seed, or QUENTOR_SEED in the
// environment), which makes runs reproducible.
void SetFixedRandomSeed(std::optional<unsigned> seed);
unsigned RunRandomSeed();
// A seed for the runs prepared on the calling thread, ahead of the
// process-wide one: each run of a sweep seeds its generators itself.
// Returns the thread's previous seed.
std::optional<unsigned> SetThreadRandomSeed(std::optional<unsigned> seed);

class ScopedRunSeed {
public:
    explicit ScopedRunSeed(std::optional<unsigned> seed) : previous_(SetThreadRandomSeed(seed)) {}
    ~ScopedRunSeed() { SetThreadRandomSeed(previous_); }
    ScopedRunSeed(const ScopedRunSeed&) = delete;
    ScopedRunSeed& operator=(const ScopedRunSeed&) = delete;

private:
    std::optional<unsigned> previous_;
};
