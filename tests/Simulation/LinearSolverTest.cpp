#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "Simulation/LinearSolver.h"

namespace {

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
    for (const Case& k : cases) {
        std::vector<double> J = k.J, c = k.c, z;
        TDenseSolver().Solve(int(k.c.size()), J, c, z);
        ASSERT_EQ(z.size(), k.expected.size());
        for (std::size_t i = 0; i < z.size(); ++i)
            EXPECT_NEAR(z[i], k.expected[i], 1e-13 * std::abs(k.expected[i])) << "unknown " << i;
    }
}

TEST(LinearSolver, AnUnknownWithoutAnyPivotBecomesZero) {
    // A floating node: its row and column are empty.
    std::vector<double> J = {2, 0, 0, 0}, c = {4, 0}, z;
    TDenseSolver().Solve(2, J, c, z);
    EXPECT_EQ(z, (std::vector<double>{2, 0}));
}

} // namespace
