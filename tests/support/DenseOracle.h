#pragma once

#include <vector>

class Schematic;

// A literal, slow implementation of the time loop with dense matrix
// products. The fast loop is checked against it. The linear solve is the
// program's own (partial pivoting) unless `zeroPivotOnly` asks for the
// elimination that swaps rows only on an exact zero pivot.
struct OracleSample {
    double Time = 0;
    std::vector<double> Values;     // Yd, Ys, Phi
    std::vector<double> Consumers;
};

// Runs the already assembled model of `sheet` (PrepareRun done) and returns
// the samples; iterations are counted into `iterations` when given.
std::vector<OracleSample> RunDenseOracle(Schematic& sheet, long* iterations = nullptr,
                                          bool zeroPivotOnly = false);
