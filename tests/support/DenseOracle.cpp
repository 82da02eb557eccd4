#include "support/DenseOracle.h"

#include <cmath>

#include "Simulation/ModelAssembly.h"
#include "Simulation/SimModel.h"
#include "Simulation/TMatrix.h"
#include "model/TBaseElement.h"
#include "model/Schematic.h"

namespace {

TMatrix Column(const std::vector<double>& v) {
    TMatrix m(int(v.size()), 1);
    for (std::size_t i = 0; i < v.size(); ++i) m.At(std::int64_t(i)) = v[i];
    return m;
}

std::vector<double> Values(const TMatrix& m) {
    std::vector<double> v(std::size_t(m.Size()));
    for (std::int64_t i = 0; i < m.Size(); ++i) v[std::size_t(i)] = m.At(i).Value();
    return v;
}

TMatrix Identity(int n) {
    TMatrix I(n, n);
    for (int i = 0; i < n; ++i) I(i, i) = 1.0;
    return I;
}

struct Oracle {
    TSimModel& m;
    int nDyn, nStat, nNodes, nCV, nCC, nBr;
    TMatrix Yd, Ys;  // unknowns
    TMatrix I;
    TMatrix Z, g;  // incidence and branch conductances, dense

    explicit Oracle(TSimModel& model)
        : m(model), nDyn(model.D.ysize), nStat(model.F.ysize), nNodes(model.NodeRows),
          nCV(model.Mec.ysize), nCC(model.Mjc.ysize), nBr(int(model.Branches.size())), Yd(nDyn, 1),
          Ys(nStat, 1), I(Identity(nDyn)),
          Z(IncidenceMatrix(model)), g(ConductanceMatrix(model)) {}

    TMatrix Phi() const { return Column(m.Phi); }

    TMatrix Residual(const TMatrix& xn) {
        // A new evaluation, as the engine's residual counts them: elements
        // key what they derive from the potentials on the count.
        ++m.Evaluation;
        const TMatrix phi = Phi();
        const TMatrix rd = m.C * xn + m.D * m.Hc * Ys + (m.D * m.Hd - I) * Yd + m.D * m.G * m.Un +
                           m.D * m.Ge * m.Mf * phi;
        m.StaticInputs = Values(m.Qc * Ys + m.Qd * Yd + m.P * m.Un + m.Pe * m.Mf * phi);
        const TMatrix rs = Ys - m.F;
        const TMatrix Ecv = m.Mec * Ys + m.Med * Yd + m.Meu * m.Un + m.Mev * m.Mf * phi;
        const TMatrix Jcc = m.Mjc * Ys + m.Mjd * Yd + m.Mju * m.Un + m.Mjv * m.Mf * phi;
        TMatrix Eb(nBr, 1), Jb(nBr, 1);
        for (int b = 0; b < m.FirstCVBranch; ++b) {
            Eb.At(b) = m.En.At(b);
            Jb.At(b) = m.Jn.At(b);
        }
        for (int i = 0; i < nCV; ++i) Eb.At(m.FirstCVBranch + i) = Ecv.At(i).Value();
        for (int i = 0; i < nCC; ++i) Jb.At(m.FirstCCBranch + i) = Jcc.At(i).Value();
        const TMatrix rn = Z * (g * Eb - Jb) - Z * g * Z.Transposed() * phi;
        TMatrix F(nDyn + nStat + nNodes, 1);
        int k = 0;
        for (const TMatrix* part : {&rd, &rs, &rn})
            for (std::int64_t i = 0; i < part->Size(); ++i) F.At(k++) = part->At(i).Value();
        return F;
    }

    void SetUnknown(int k, double v) {
        if (k < nDyn) Yd.At(k) = v;
        else if (k < nDyn + nStat) Ys.At(k - nDyn) = v;
        else m.Phi[std::size_t(k - nDyn - nStat)] = v;
    }
};

// Elimination in place on J and c, rows swapped only on an exact zero pivot.
// Gaussian elimination with partial pivoting; an unknown whose pivot stays
// zero is 0.
std::vector<double> EliminateWithPivoting(std::vector<std::vector<double>>& J, std::vector<double>& c) {
    const std::size_t N = c.size();
    for (std::size_t p = 0; p < N; ++p) {
        std::size_t best = p;
        for (std::size_t r = p + 1; r < N; ++r)
            if (std::abs(J[r][p]) > std::abs(J[best][p])) best = r;
        if (J[best][p] == 0.0) continue;
        std::swap(J[p], J[best]);
        std::swap(c[p], c[best]);
        for (std::size_t r = p + 1; r < N; ++r) {
            if (J[r][p] == 0.0) continue;
            const double m = J[r][p] / J[p][p];
            J[r][p] = 0.0;
            for (std::size_t k = p + 1; k < N; ++k) J[r][k] -= m * J[p][k];
            c[r] -= m * c[p];
        }
    }
    std::vector<double> z(N, 0.0);
    for (std::size_t q = N; q-- > 0;) {
        if (J[q][q] == 0.0) continue;
        double s = 0.0;
        for (std::size_t k = q + 1; k < N; ++k) s += J[q][k] * z[k];
        z[q] = (c[q] - s) / J[q][q];
    }
    return z;
}

std::vector<double> Eliminate(std::vector<std::vector<double>>& J, std::vector<double>& c) {
    const int N = int(c.size());
    for (int p = 0; p < N; ++p) {
        if (J[p][p] == 0.0)
            for (int r = p + 1; r < N; ++r)
                if (J[r][p] != 0.0) {
                    std::swap(J[p], J[r]);
                    std::swap(c[p], c[r]);
                    break;
                }
        for (int q = p; q < N; ++q) {
            const double e = J[q][p];
            if (e == 0.0) continue;
            c[q] /= e;
            for (int k = p; k < N; ++k) J[q][k] /= e;
        }
        if (J[p][p] != 0.0)
            for (int q = p + 1; q < N; ++q) {
                if (J[q][p] == 0.0) continue;
                for (int k = p; k < N; ++k) J[q][k] -= J[p][k];
                c[q] -= c[p];
            }
    }
    std::vector<double> z(std::size_t(N), 0.0);
    for (int q = N - 1; q >= 0; --q) {
        double s = 0.0;
        for (int k = q + 1; k < N; ++k) s += J[q][k] * z[std::size_t(k)];
        z[std::size_t(q)] = J[q][q] != 0.0 ? (c[q] - s) / J[q][q] : 0.0;
    }
    return z;
}

} // namespace

std::vector<OracleSample> RunDenseOracle(Schematic& sheet, long* iterations, bool zeroPivotOnly) {
    TSimModel& m = sheet.Run();
    Oracle o(m);
    const int Nz = o.nDyn + o.nStat + o.nNodes;
    m.Phi.assign(std::size_t(o.nNodes), 0.0);
    std::vector<double> solved(std::size_t(Nz), 0.0);
    TMatrix xn = m.Xk;
    std::vector<OracleSample> samples;
    const std::size_t capacity = std::size_t(m.T / m.GS + 1);
    double next = 0.0;
    m.Time = 0.0;
    auto load = [&] {
        for (int k = 0; k < Nz; ++k) o.SetUnknown(k, solved[std::size_t(k)]);
    };
    auto consumers = [&] { return m.N * m.Un + m.Nc * o.Ys + m.Nd * o.Yd + m.Ne * m.Mf * o.Phi(); };
    load();
    m.ConsumerInputs = Values(consumers());
    while (m.Time < m.T) {
        load();
        for (TBaseElement* e : sheet.Elements)
            if (e->AdvancesEachStep()) e->BeginStep();
        m.Xk = xn;
        const TMatrix dx = m.A * m.Xk + m.B * (m.Hc * o.Ys + m.Hd * o.Yd + m.G * m.Un + m.Ge * m.Mf * o.Phi());
        xn = m.Xk + dx * m.h;
        for (;;) {
            load();
            const TMatrix F = o.Residual(xn);
            int inside = 0;
            for (int i = 0; i < Nz; ++i)
                if (-m.TNC < F.At(i).Value() && F.At(i).Value() < m.TNC) ++inside;
            if (inside == Nz) break;
            std::vector<std::vector<double>> J(static_cast<std::size_t>(Nz), std::vector<double>(static_cast<std::size_t>(Nz)));
            for (int k = 0; k < Nz; ++k) {
                o.SetUnknown(k, solved[std::size_t(k)] + m.pr);
                const TMatrix Fp = o.Residual(xn);
                for (int i = 0; i < Nz; ++i)
                    J[std::size_t(i)][std::size_t(k)] = (Fp.At(i).Value() - F.At(i).Value()) * (1 / m.pr);
                load();
            }
            std::vector<double> c(static_cast<std::size_t>(Nz));
            for (int i = 0; i < Nz; ++i) {
                double s = 0.0;
                for (int k = 0; k < Nz; ++k) s += J[std::size_t(i)][std::size_t(k)] * solved[std::size_t(k)];
                c[std::size_t(i)] = s - F.At(i).Value();
            }
            if (zeroPivotOnly) {
                solved = Eliminate(J, c);
            } else {
                solved = EliminateWithPivoting(J, c);
            }
            if (iterations) ++*iterations;
        }
        load();
        m.ConsumerInputs = Values(consumers());
        if (m.Time >= next && samples.size() < capacity) {
            next += m.GS;
            samples.push_back({m.Time, solved, m.ConsumerInputs});
        }
        m.Time += m.h;
    }
    return samples;
}
