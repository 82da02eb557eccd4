#pragma once

#include <optional>

// Seed of the random-number generators of a run: the wall clock in seconds,
// unless a fixed seed was given (the runner's --seed, or QUENTOR_SEED in the
// environment), which makes runs reproducible.
void SetFixedRandomSeed(std::optional<unsigned> seed);
unsigned RunRandomSeed();
