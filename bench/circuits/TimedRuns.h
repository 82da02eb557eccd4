#pragma once

#include <benchmark/benchmark.h>

#include <string>

class Schematic;

// Runs the schematic once per benchmark iteration (assembly included) and
// reports the time per step and the Newton iterations per step.
void TimeRuns(benchmark::State& state, Schematic& sheet);

// Loads an example file with T and h = 1e-5 (pr > 0 replaces the file's
// derivative increment); false when it does not load.
bool LoadExample(Schematic& sheet, const std::string& file, double T, double pr = 0);

// An example file timed over T with h = 1e-5.
void TimeExample(benchmark::State& state, const std::string& file, double T, double pr = 0);
