#include "Simulation/LinearSolver.h"

#include <cmath>
#include <utility>

void TDenseSolver::Analyse(const TSparsePattern& pattern) {
    pattern_ = &pattern;
    const std::size_t N = std::size_t(pattern.n);
    lu_.assign(N * N, 0.0);
    pivotRow_.assign(N, 0);
    pinned_.assign(N, 0);
}

bool TDenseSolver::Factor(const std::vector<double>& values) {
    const TSparsePattern& p = *pattern_;
    const std::size_t N = std::size_t(p.n);
    std::fill(lu_.begin(), lu_.end(), 0.0);
    for (int k = 0; k < p.n; ++k)
        for (int e = p.colStart[std::size_t(k)]; e < p.colStart[std::size_t(k) + 1]; ++e)
            lu_[std::size_t(p.rowIndex[std::size_t(e)]) * N + std::size_t(k)] = values[std::size_t(e)];
    auto at = [this, N](std::size_t r, std::size_t col) -> double& { return lu_[r * N + col]; };
    for (std::size_t q = 0; q < N; ++q) {
        std::size_t best = q;
        double bestAbs = std::abs(at(q, q));
        for (std::size_t r = q + 1; r < N; ++r)
            if (const double a = std::abs(at(r, q)); a > bestAbs) {
                best = r;
                bestAbs = a;
            }
        pivotRow_[q] = int(best);
        pinned_[q] = bestAbs == 0.0;
        if (pinned_[q]) continue;
        if (best != q)
            for (std::size_t col = 0; col < N; ++col) std::swap(at(q, col), at(best, col));
        const double pivot = at(q, q);
        for (std::size_t r = q + 1; r < N; ++r) {
            const double f = at(r, q);
            if (f == 0.0) continue;
            const double m = f / pivot;
            at(r, q) = m;
            for (std::size_t col = q + 1; col < N; ++col) at(r, col) -= m * at(q, col);
        }
    }
    return true;
}

void TDenseSolver::Solve(std::vector<double>& b) {
    const std::size_t N = std::size_t(pattern_->n);
    auto at = [this, N](std::size_t r, std::size_t col) { return lu_[r * N + col]; };
    // The factors hold whole swapped rows, so every swap comes first.
    for (std::size_t q = 0; q < N; ++q)
        if (!pinned_[q]) std::swap(b[q], b[std::size_t(pivotRow_[q])]);
    for (std::size_t q = 0; q < N; ++q) {
        if (pinned_[q] || b[q] == 0.0) continue;
        for (std::size_t r = q + 1; r < N; ++r) b[r] -= at(r, q) * b[q];
    }
    for (std::size_t q = N; q-- > 0;) {
        if (pinned_[q]) {
            b[q] = 0.0;
            continue;
        }
        double s = 0.0;
        for (std::size_t k = q + 1; k < N; ++k) s += at(q, k) * b[k];
        b[q] = (b[q] - s) / at(q, q);
    }
}

std::unique_ptr<TLinearSolver> MakeSolverFor(const TSparsePattern& pattern) {
    if (pattern.n < DenseSolverLimit) return std::make_unique<TDenseSolver>();
    return MakeSparseSolver();
}
