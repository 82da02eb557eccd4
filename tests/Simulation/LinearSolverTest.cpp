#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "Simulation/LinearSolver.h"

namespace {

// Solves the row-major system with the dense or the sparse solver through
// the pattern of its non-zero entries.
std::vector<double> SolveWith(bool sparse, const std::vector<double>& J, const std::vector<double>& c) {
    const int n = int(c.size());
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k)
            if (J[std::size_t(i * n + k)] != 0.0) rows[std::size_t(i)].push_back(k);
    const TSparsePattern p = PatternFromRows(rows);
    std::vector<double> values(std::size_t(p.NonZeros()));
    for (int k = 0; k < n; ++k)
        for (int e = p.colStart[std::size_t(k)]; e < p.colStart[std::size_t(k) + 1]; ++e)
            values[std::size_t(e)] = J[std::size_t(p.rowIndex[std::size_t(e)] * n + k)];
    std::unique_ptr<TLinearSolver> solver = sparse ? MakeSparseSolver() : std::make_unique<TDenseSolver>();
    solver->Analyse(p);
    EXPECT_TRUE(solver->Factor(values));
    std::vector<double> z = c;
    solver->Solve(z);
    return z;
}

// The Newton step of a node held to the reference by 1e-9 S (a switch that
// is off) and fed through a controlled current source of 1 S from a node
// held by 1 S: conductances nine decades apart in one system. Taking the
// first non-zero pivot divides by 1e-9 and loses seven digits of the first
// unknown; the largest pivot keeps every digit.
TEST(LinearSolver, ConductancesNineDecadesApartKeepFullAccuracy) {
    const double small = 1e-9;
    struct Case {
        std::vector<double> J;
        std::vector<double> c;
        std::vector<double> expected; // by Cramer's rule, worked out below
    };
    // [small 1; 1 1]·z = [1; 2]: det = small − 1, z0 = (1 − 2)/det,
    // z1 = (2·small − 1)/det.
    const double det2 = small - 1;
    // [small 1 0; 1 1 1; 0 1 3]·z = [1; 2; 3]: expanding along the first
    // row, det = small·(1·3 − 1·1) − 1·(1·3 − 1·0) = 2·small − 3;
    // z0 = det([1 1 0; 2 1 1; 3 1 3]) / det = (1·(3 − 1) − 1·(6 − 3)) / det,
    // z1 = det([small 1 0; 1 2 1; 0 3 3]) / det = (small·(6 − 3) − 1·(3 − 0)) / det,
    // z2 = det([small 1 1; 1 1 2; 0 1 3]) / det = (small·(3 − 2) − 1·(3 − 0) + 1·(1 − 0)) / det.
    const double det3 = 2 * small - 3;
    const Case cases[] = {
        {{small, 1, 1, 1}, {1, 2}, {-1 / det2, (2 * small - 1) / det2}},
        {{small, 1, 0, 1, 1, 1, 0, 1, 3},
         {1, 2, 3},
         {(2.0 - 3.0) / det3, (3 * small - 3) / det3, (small - 3 + 1) / det3}},
    };
    for (const Case& k : cases)
        for (bool sparse : {false, true}) {
            const std::vector<double> z = SolveWith(sparse, k.J, k.c);
            ASSERT_EQ(z.size(), k.expected.size());
            for (std::size_t i = 0; i < z.size(); ++i)
                EXPECT_NEAR(z[i], k.expected[i], 1e-13 * std::abs(k.expected[i]))
                    << (sparse ? "sparse" : "dense") << " unknown " << i;
        }
}

TEST(LinearSolver, AnUnknownWithoutAnyPivotBecomesZero) {
    // A floating node: its row and column are empty.
    for (bool sparse : {false, true})
        EXPECT_EQ(SolveWith(sparse, {2, 0, 0, 0}, {4, 0}), (std::vector<double>{2, 0})) << sparse;
}

} // namespace
