#include "Simulation/LinearSolver.h"

#include <cmath>
#include <utility>

void TDenseSolver::Solve(int n, std::vector<double>& J, std::vector<double>& c, std::vector<double>& z) {
    const std::size_t N = std::size_t(n);
    auto at = [&J, N](std::size_t r, std::size_t col) -> double& { return J[r * N + col]; };
    for (std::size_t p = 0; p < N; ++p) {
        std::size_t best = p;
        double bestAbs = std::abs(at(p, p));
        for (std::size_t r = p + 1; r < N; ++r)
            if (const double a = std::abs(at(r, p)); a > bestAbs) {
                best = r;
                bestAbs = a;
            }
        if (bestAbs == 0.0) continue;  // the unknown will be 0
        if (best != p) {
            for (std::size_t col = p; col < N; ++col) std::swap(at(p, col), at(best, col));
            std::swap(c[p], c[best]);
        }
        const double pivot = at(p, p);
        for (std::size_t r = p + 1; r < N; ++r) {
            const double f = at(r, p);
            if (f == 0.0) continue;
            const double m = f / pivot;
            at(r, p) = 0.0;
            for (std::size_t col = p + 1; col < N; ++col) at(r, col) -= m * at(p, col);
            c[r] -= m * c[p];
        }
    }
    z.assign(N, 0.0);
    for (std::size_t q = N; q-- > 0;) {
        const double d = at(q, q);
        if (d == 0.0) continue;
        double s = 0.0;
        for (std::size_t k = q + 1; k < N; ++k) s += at(q, k) * z[k];
        z[q] = (c[q] - s) / d;
    }
}

std::unique_ptr<TLinearSolver> MakeDefaultSolver() { return std::make_unique<TDenseSolver>(); }
