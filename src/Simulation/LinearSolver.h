#pragma once

#include <memory>
#include <vector>

#include "Simulation/SparsePattern.h"

// Solves J·x = b for the Newton correction, J given by its values in the
// order of a pattern analysed once per run. An unknown whose column is empty
// (a floating node, an unused block) is pinned: its correction is 0 and its
// own equation is left out, so partly singular systems still run.
class TLinearSolver {
public:
    virtual ~TLinearSolver() = default;
    // Once per run, before the first factorisation.
    virtual void Analyse(const TSparsePattern& pattern) = 0;
    // Factors the values (one per pattern entry); false when even the
    // pinned system cannot be factored.
    virtual bool Factor(const std::vector<double>& values) = 0;
    // Replaces b by x.
    virtual void Solve(std::vector<double>& b) = 0;
};

// Gaussian elimination with partial pivoting on a dense copy: conductances
// from 1e-9 S to 100 S in one system need the largest pivot, not merely a
// non-zero one. Fastest for small systems.
class TDenseSolver : public TLinearSolver {
public:
    void Analyse(const TSparsePattern& pattern) override;
    bool Factor(const std::vector<double>& values) override;
    void Solve(std::vector<double>& b) override;

private:
    const TSparsePattern* pattern_ = nullptr;
    std::vector<double> lu_;       // row-major factors
    std::vector<int> pivotRow_;    // row swapped with p at step p
    std::vector<char> pinned_;     // unknowns whose pivot stayed zero
};

// Sparse LU (KLU): symbolic analysis once, numeric refactorisation while the
// pivots stay sound, a fresh factorisation when they degrade.
std::unique_ptr<TLinearSolver> MakeSparseSolver();

// Below this many unknowns the dense solver is faster (measured with the
// ladder benchmarks).
constexpr int DenseSolverLimit = 60;

// The solver for a pattern of this size.
std::unique_ptr<TLinearSolver> MakeSolverFor(const TSparsePattern& pattern);
