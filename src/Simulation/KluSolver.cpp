#include <klu.h>

#include <cmath>

#include "Simulation/LinearSolver.h"

namespace {

// Below this reciprocal condition estimate a refactorisation with the old
// pivot order is not trusted and the matrix is factored afresh.
constexpr double RefactorRcondLimit = 1e-10;

class TKluSolver : public TLinearSolver {
public:
    // A singular matrix stops the factorisation (KLU's default): the
    // column it names is pinned and the matrix factored again.
    TKluSolver() { klu_defaults(&common_); }
    ~TKluSolver() override { Release(); }

    void Analyse(const TSparsePattern& pattern) override {
        Release();
        pattern_ = &pattern;
        const int n = pattern.n;
        colStart_ = pattern.colStart;
        rowIndex_ = pattern.rowIndex;
        values_.assign(rowIndex_.size(), 0.0);
        diagonal_.assign(std::size_t(n), -1);
        rowEntries_.assign(std::size_t(n), {});
        for (int k = 0; k < n; ++k)
            for (int e = colStart_[std::size_t(k)]; e < colStart_[std::size_t(k) + 1]; ++e) {
                const int r = rowIndex_[std::size_t(e)];
                if (r == k) diagonal_[std::size_t(k)] = e;
                rowEntries_[std::size_t(r)].push_back(e);
            }
        pinned_.assign(std::size_t(n), 0);
        symbolic_ = klu_analyze(n, colStart_.data(), rowIndex_.data(), &common_);
    }

    bool Factor(const std::vector<double>& values) override {
        if (!symbolic_) return false;
        const int n = pattern_->n;
        values_ = values;
        // Empty columns are unknowns nothing reads: pin them, as the dense
        // solver does with a zero pivot.
        std::vector<char> pinned(std::size_t(n), 0);
        for (int k = 0; k < n; ++k) {
            bool empty = true;
            for (int e = colStart_[std::size_t(k)]; e < colStart_[std::size_t(k) + 1] && empty; ++e)
                empty = values_[std::size_t(e)] == 0.0;
            pinned[std::size_t(k)] = empty;
        }
        for (int attempt = 0; attempt <= n; ++attempt) {
            for (int k = 0; k < n; ++k)
                if (pinned[std::size_t(k)]) Pin(k);
            const bool samePins = pinned == pinned_;
            pinned_ = pinned;
            bool ok = false;
            if (numeric_ && samePins) {
                ok = klu_refactor(colStart_.data(), rowIndex_.data(), values_.data(), symbolic_, numeric_, &common_) &&
                     common_.status == KLU_OK && klu_rcond(symbolic_, numeric_, &common_) &&
                     common_.rcond > RefactorRcondLimit;
            }
            if (!ok) {
                if (numeric_) klu_free_numeric(&numeric_, &common_);
                numeric_ = klu_factor(colStart_.data(), rowIndex_.data(), values_.data(), symbolic_, &common_);
                ok = numeric_ && common_.status == KLU_OK;
            }
            if (ok) return true;
            // Numerically singular: pin the first singular column and retry.
            if (common_.status != KLU_SINGULAR || common_.singular_col < 0 ||
                common_.singular_col >= n || pinned[std::size_t(common_.singular_col)])
                return false;
            pinned[std::size_t(common_.singular_col)] = 1;
        }
        return false;
    }

    void Solve(std::vector<double>& b) override {
        for (std::size_t k = 0; k < pinned_.size(); ++k)
            if (pinned_[k]) b[k] = 0.0;
        klu_solve(symbolic_, numeric_, pattern_->n, 1, b.data(), &common_);
    }

private:
    // Unknown k keeps its value: its column and its own equation give way
    // to x_k = 0.
    void Pin(int k) {
        for (int e = colStart_[std::size_t(k)]; e < colStart_[std::size_t(k) + 1]; ++e) values_[std::size_t(e)] = 0.0;
        for (int e : rowEntries_[std::size_t(k)]) values_[std::size_t(e)] = 0.0;
        values_[std::size_t(diagonal_[std::size_t(k)])] = 1.0;
    }

    void Release() {
        if (numeric_) klu_free_numeric(&numeric_, &common_);
        if (symbolic_) klu_free_symbolic(&symbolic_, &common_);
    }

    klu_common common_{};
    klu_symbolic* symbolic_ = nullptr;
    klu_numeric* numeric_ = nullptr;
    const TSparsePattern* pattern_ = nullptr;
    std::vector<int> colStart_, rowIndex_, diagonal_;
    std::vector<std::vector<int>> rowEntries_;
    std::vector<double> values_;
    std::vector<char> pinned_;
};

} // namespace

std::unique_ptr<TLinearSolver> MakeSparseSolver() { return std::make_unique<TKluSolver>(); }
