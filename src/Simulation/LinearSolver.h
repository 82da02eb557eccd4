#pragma once

#include <memory>
#include <vector>

// Solves J·z = c for the Newton step. J is n by n, row-major, and may be
// destroyed. An unknown whose pivot stays exactly zero (a floating node, an
// unused block) is set to 0, so partly singular systems still run.
class TLinearSolver {
public:
    virtual ~TLinearSolver() = default;
    virtual void Solve(int n, std::vector<double>& J, std::vector<double>& c, std::vector<double>& z) = 0;
};

// Gaussian elimination with partial pivoting: conductances from 1e-9 S to
// 100 S in one system need the largest pivot, not merely a non-zero one.
class TDenseSolver : public TLinearSolver {
public:
    void Solve(int n, std::vector<double>& J, std::vector<double>& c, std::vector<double>& z) override;
};

std::unique_ptr<TLinearSolver> MakeDefaultSolver();
