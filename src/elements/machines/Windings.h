#pragma once

#include <cmath>
#include <cstdint>

#include "Simulation/TValue.h"

class TBaseElement;
class TConnector;

// Checks and the step shared by the transformers, the rotary transformer
// and the selsyns.
namespace Windings {

// Refuses a model method outside the element's list, naming the element.
bool RequireModelMethod(const TBaseElement& e);

// Holds a divisor away from zero: a magnitude below `limit` becomes
// ±replacement with the value's sign, 0 counting as positive.
double Guarded(double v, double limit, double replacement);

// The number of the residual evaluation in progress (see
// TSimModel::Evaluation).
std::uint64_t Evaluation(const TBaseElement& e);

// The model node of a pin for the run, -1 without a wire.
int PinNode(const TConnector* pin);

// Appends the slope `value` of a winding voltage φ(from) − φ(to) to the
// nodes that are not ground; returns the new count.
inline int PutVoltageSlope(int from, int to, double value, TNodeSlope* out, int count) {
    if (from >= 0) out[count++] = {from, value};
    if (to >= 0) out[count++] = {to, -value};
    return count;
}

// Backward Euler of N magnetically coupled windings u = R·i + dΨ/dt,
// Ψ = L·i, each u_k in the passive sense (i_k enters where u_k is taken
// positive): i = Y·(h·u + Ψ_prev) with Y = (L + h·R)⁻¹. Winding k is a branch
// of conductance G_k = h·Y_kk whose EMF carries the memory and the other
// windings' present voltages, i_k = G_k·(u_k + E_k): all couplings are
// implicit, the matrix changes only from one step to the next.
// (The windings' voltages of the last solution put into the couplings
// instead make a resolver with open outputs, and a selsyn link, unstable:
// the correction the other winding's lagging voltage brings is larger than
// the error it corrects.)
template <int N> struct TCoupled {
    double R[N] = {};
    double Y[N][N] = {};
    double Psi[N] = {}, I[N] = {}, Memory[N] = {};
    double h = 0;

    // The matrix of a step of length `step` at the inductances L, and the
    // memory Y·Ψ_prev.
    void Begin(double step, const double (&L)[N][N]) {
        h = step;
        evaluation_ = NoEvaluation;
        double a[N][2 * N];
        for (int r = 0; r < N; ++r)
            for (int c = 0; c < N; ++c) {
                a[r][c] = L[r][c] + (r == c ? h * R[r] : 0.0);
                a[r][N + c] = r == c ? 1.0 : 0.0;
            }
        for (int p = 0; p < N; ++p) {
            int best = p;
            for (int q = p + 1; q < N; ++q)
                if (std::abs(a[q][p]) > std::abs(a[best][p])) best = q;
            if (best != p)
                for (int c = 0; c < 2 * N; ++c)
                    std::swap(a[p][c], a[best][c]);
            const double pivot = Guarded(a[p][p], 1e-20, 1e-20);
            for (int c = 0; c < 2 * N; ++c)
                a[p][c] /= pivot;
            for (int q = 0; q < N; ++q) {
                if (q == p || a[q][p] == 0.0) continue;
                const double f = a[q][p];
                for (int c = 0; c < 2 * N; ++c)
                    a[q][c] -= f * a[p][c];
            }
        }
        for (int r = 0; r < N; ++r)
            for (int c = 0; c < N; ++c)
                Y[r][c] = a[r][N + c];
        for (int r = 0; r < N; ++r) {
            double m = 0;
            for (int c = 0; c < N; ++c)
                m += Y[r][c] * Psi[c];
            Memory[r] = m;
        }
        for (int k = 0; k < N; ++k) {
            const double g = Guarded(h * Y[k][k], 1e-20, 1e-20);
            for (int c = 0; c < N; ++c)
                slope_[k][c] = c == k ? 0.0 : h * Y[k][c] / g;
        }
    }
    double G(int k) const { return h * Y[k][k]; }
    // dE_k/du_c, constant within the step.
    double Slope(int k, int c) const { return slope_[k][c]; }
    // The slopes of sign·E_k to the potentials, winding c taking
    // u_c = φ(from[c]) − φ(to[c]).
    int Slopes(int k, const int (&from)[N], const int (&to)[N], double sign, TNodeSlope* out) const {
        int count = 0;
        for (int c = 0; c < N; ++c)
            if (c != k) count = PutVoltageSlope(from[c], to[c], sign * Slope(k, c), out, count);
        return count;
    }
    // E_k at the winding voltages u.
    double E(int k, const double (&u)[N]) const {
        double s = Memory[k];
        for (int c = 0; c < N; ++c)
            if (c != k) s += h * Y[k][c] * u[c];
        return s / Guarded(h * Y[k][k], 1e-20, 1e-20);
    }
    // E_k at the winding voltages `voltages` fills in, all N of them formed
    // once per residual evaluation: every winding reads the same voltages.
    template <class Voltages> double E(int k, std::uint64_t evaluation, Voltages&& voltages) {
        if (evaluation != evaluation_) {
            double u[N];
            voltages(u);
            for (int j = 0; j < N; ++j)
                e_[j] = E(j, u);
            evaluation_ = evaluation;
        }
        return e_[k];
    }
    // Ends the step whose solution gave u: its currents and flux linkages.
    void Finish(const double (&u)[N]) {
        for (int r = 0; r < N; ++r) {
            double s = Memory[r];
            for (int c = 0; c < N; ++c)
                s += h * Y[r][c] * u[c];
            I[r] = s;
        }
        for (int r = 0; r < N; ++r)
            Psi[r] += h * (u[r] - R[r] * I[r]);
    }

private:
    static constexpr std::uint64_t NoEvaluation = ~std::uint64_t(0);
    std::uint64_t evaluation_ = NoEvaluation;
    double e_[N] = {};
    double slope_[N][N] = {};
};

} // namespace Windings
