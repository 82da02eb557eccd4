#include "support/OracleCompare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "support/DenseOracle.h"

namespace {

struct Sample {
    double time;
    std::vector<double> row;
};

// Normwise relative agreement: within 1e-9 of the sample's largest value (at
// least 1). The forward differences of both loops carry rounding of that
// order from the largest currents into every unknown.
double Scale(const std::vector<double>& row) {
    double s = 1.0;
    for (double v : row) s = std::max(s, std::abs(v));
    return s;
}

} // namespace

void CompareWithOracle(Schematic& sheet, const std::string& what, TOracleOptions options) {
    std::vector<Sample> fast;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.ReuseJacobian = false;
    if (options.SparseSolver) o.Solver = TRunOptions::SolverChoice::Sparse;
    o.Sample = [&fast](double t, const std::vector<double>& row) { fast.push_back({t, row}); };
    long fastIterations = 0;
    fastIterations = long(RunSimulation(context, o).Iterations);
    ASSERT_TRUE(PrepareRun(context));
    long oracleIterations = 0;
    const auto slow = RunDenseOracle(sheet, &oracleIterations);
    ASSERT_EQ(fast.size(), slow.size()) << what;
    for (std::size_t k = 0; k < fast.size(); ++k) {
        ASSERT_EQ(fast[k].time, slow[k].Time) << what;
        std::vector<double> expect = slow[k].Values;
        expect.insert(expect.end(), slow[k].Consumers.begin(), slow[k].Consumers.end());
        ASSERT_EQ(fast[k].row.size(), expect.size()) << what;
        // A device whose state follows the number of reads (a switch) sees
        // fewer residual evaluations when Jacobian columns are grouped, and
        // may switch one iteration earlier or later: 1e-7 then.
        const double relative = options.SparseSolver ? 1e-4 : options.SameIterations ? 1e-9 : 1e-7;
        const double tolerance = relative * Scale(expect);
        for (std::size_t i = 0; i < expect.size(); ++i)
            ASSERT_LE(std::abs(fast[k].row[i] - expect[i]), tolerance)
                << what << ": sample " << k << " value " << i << ": " << fast[k].row[i] << " vs " << expect[i];
    }
    const long steps = long(std::ceil(sheet.RunSettings.T / sheet.RunSettings.h));
    if (options.SparseSolver) {
        EXPECT_LE(std::abs(fastIterations - oracleIterations), steps) << what;
    } else if (options.SameIterations) {
        EXPECT_EQ(fastIterations, oracleIterations) << what;
    }

    // The literal elimination (rows swapped only on a zero pivot) solves the
    // same systems; the two agree to the accuracy of one Newton step with a
    // forward-difference Jacobian (about 1e-5 of the largest value at the
    // first step, far closer later).
    ASSERT_TRUE(PrepareRun(context));
    const auto literal = RunDenseOracle(sheet, nullptr, true);
    ASSERT_EQ(literal.size(), fast.size());
    for (std::size_t k = 0; k < fast.size(); ++k)
        for (std::size_t i = 0; i < literal[k].Values.size(); ++i)
            ASSERT_NEAR(fast[k].row[i], literal[k].Values[i], 1e-4 * Scale(literal[k].Values)) << what;

    // The engine as it runs, keeping the Jacobian columns that cannot
    // change: a Jacobian differenced at another point differs by the
    // differences' rounding (up to 1e-4 of an entry where 1e4 S sources
    // share a row with small conductances), so the Newton steps stop at
    // another point inside the accuracy, as the literal elimination does.
    std::vector<Sample> reused;
    ASSERT_TRUE(PrepareRun(context));
    o.ReuseJacobian = true;
    o.Sample = [&reused](double t, const std::vector<double>& row) { reused.push_back({t, row}); };
    RunSimulation(context, o);
    ASSERT_EQ(reused.size(), slow.size()) << what;
    for (std::size_t k = 0; k < reused.size(); ++k)
        for (std::size_t i = 0; i < slow[k].Values.size(); ++i)
            ASSERT_NEAR(reused[k].row[i], slow[k].Values[i], 1e-4 * Scale(slow[k].Values))
                << what << ": the engine keeping its Jacobian, sample " << k << " value " << i;
}

