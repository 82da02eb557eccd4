#include "Simulation/CompiledModel.h"

#include <cmath>

#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "blocks/Families.h"
#include "Simulation/CircuitModel.h"

TCompiledModel::TCompiledModel(const Schematic& sheet, TSimModel& m) : model_(m) {
    nDyn = m.D.ysize;
    nStat = m.F.ysize;
    nNodes = m.Z.ysize;
    nX = m.A.ysize;
    nCons = m.N.ysize;
    nSI = m.P.ysize;
    nCV = m.Mec.ysize;
    nCC = m.Mjc.ysize;

    for (int r = 0; r < nX; ++r) {
        aRows_.push_back(AddRow(m.A, r));
        bRows_.push_back(AddRow(m.B, r));
    }
    for (int i = 0; i < nDyn; ++i) {
        cRows_.push_back(AddRow(m.C, i));
        dRows_.push_back(AddRow(m.D, i));
    }
    for (int j = 0; j < m.Mf.ysize; ++j) sensorRows_.push_back(AddRow(m.Mf, j));
    for (int i = 0; i < nDyn; ++i) dynInputs_.push_back(AddCoupling(m.G, m.Ge, m.Hd, m.Hc, i));
    for (int k = 0; k < nSI; ++k) staticInputs_.push_back(AddCoupling(m.P, m.Pe, m.Qd, m.Qc, k));
    for (int i = 0; i < nCons; ++i) consumerInputs_.push_back(AddCoupling(m.N, m.Ne, m.Nd, m.Nc, i));
    for (int i = 0; i < nCV; ++i) controls_.push_back(AddCoupling(m.Meu, m.Mev, m.Med, m.Mec, i));
    for (int i = 0; i < nCC; ++i) controls_.push_back(AddCoupling(m.Mju, m.Mjv, m.Mjd, m.Mjc, i));
    controlValues_.assign(controls_.size(), 0.0);
    u_.assign(std::size_t(nDyn), 0.0);

    for (int j = 0; j < m.Un.ysize; ++j) producers_.push_back(m.Un.At(j));
    for (int j = 0; j < nStat; ++j) {
        statics_.push_back(m.F.At(j));
        staticOwners_.push_back(sheet.Statics[j]);
    }

    // Branch owners, in the order model assembly numbered the branches.
    const int nBr = m.g.ysize;
    std::vector<TBaseElement*> owners(std::size_t(nBr), nullptr);
    int plain = 0, cv = m.FirstCVBranch, cc = m.FirstCCBranch;
    for (TBaseElement* e : sheet.Elements) {
        const int n = BranchCount(e->GetCircuitModel());
        int& counter = sheet.ControlledVoltages.Contains(e)   ? cv
                       : sheet.ControlledCurrents.Contains(e) ? cc
                                                              : plain;
        for (int k = 0; k < n; ++k, ++counter)
            if (counter >= 0 && counter < nBr) owners[std::size_t(counter)] = e;
    }

    branches_.resize(std::size_t(nBr));
    for (int b = 0; b < nBr; ++b) {
        Branch& br = branches_[std::size_t(b)];
        for (int n = 0; n < nNodes; ++n) {
            const double z = m.Z(n, b).Value();
            if (z == 0.0) continue;
            if (br.nodeA < 0) {
                br.nodeA = n;
                br.coefA = z;
            } else {
                br.nodeB = n;
                br.coefB = z;
            }
        }
        br.g = m.g(b, b);
        br.owner = owners[std::size_t(b)];
        if (b < m.FirstCVBranch) {
            br.E = m.En.At(b);
            br.J = m.Jn.At(b);
        } else if (b < m.FirstCCBranch) {
            br.control = b - m.FirstCVBranch;  // EMF from the control value
        } else {
            br.control = nCV + (b - m.FirstCCBranch);  // source current from the control value
        }
    }
}

TCompiledModel::Row TCompiledModel::AddRow(const TMatrix& m, int row) {
    Row r{int(entries_.size()), 0};
    for (int x = 0; x < m.xsize; ++x) {
        const TValue& v = m(row, x);
        if (!v.IsDynamic() && v.Value() == 0.0) continue;
        entries_.push_back({x, v});
        ++r.count;
    }
    return r;
}

TCompiledModel::Coupling TCompiledModel::AddCoupling(const TMatrix& producer, const TMatrix& sensor,
                                                     const TMatrix& dynamic, const TMatrix& statics,
                                                     int row) {
    Coupling c{int(terms_.size()), 0};
    const TMatrix* sources[4] = {&producer, &sensor, &dynamic, &statics};
    for (int kind = 0; kind < 4; ++kind) {
        const TMatrix& m = *sources[kind];
        if (row >= m.ysize) continue;
        for (int x = 0; x < m.xsize; ++x)
            if (const double v = m(row, x).Value(); v != 0.0) {
                terms_.push_back({kind, x, v});
                ++c.count;
            }
    }
    return c;
}

double TCompiledModel::RowTimes(const Row& r, const std::vector<double>& v) const {
    double s = 0.0;
    for (int k = r.first, e = r.first + r.count; k < e; ++k)
        s += entries_[std::size_t(k)].value.Value() * v[std::size_t(entries_[std::size_t(k)].index)];
    return s;
}

double TCompiledModel::SensorValue(int j) { return RowTimes(sensorRows_[std::size_t(j)], model_.Phi); }

double TCompiledModel::Source(const Term& t, const std::vector<double>& Yd, const std::vector<double>& Ys) {
    switch (t.kind) {
    case 0: return producers_[std::size_t(t.index)].Value();
    case 1: return SensorValue(t.index);
    case 2: return Yd[std::size_t(t.index)];
    default: return Ys[std::size_t(t.index)];
    }
}

double TCompiledModel::Signal(const Coupling& c, const std::vector<double>& Yd, const std::vector<double>& Ys) {
    double s = 0.0;
    for (int k = c.first, e = c.first + c.count; k < e; ++k) {
        const Term& t = terms_[std::size_t(k)];
        s += t.coeff * Source(t, Yd, Ys);
    }
    return s;
}

void TCompiledModel::AdvanceStates(const std::vector<double>& Xk, std::vector<double>& xn, double h,
                                   const std::vector<double>& Yd, const std::vector<double>& Ys) {
    for (int i = 0; i < nDyn; ++i) u_[std::size_t(i)] = Signal(dynInputs_[std::size_t(i)], Yd, Ys);
    xn.resize(std::size_t(nX));
    for (int r = 0; r < nX; ++r) {
        const double dx = RowTimes(aRows_[std::size_t(r)], Xk) + RowTimes(bRows_[std::size_t(r)], u_);
        xn[std::size_t(r)] = Xk[std::size_t(r)] + h * dx;
    }
}

bool TCompiledModel::Residual(const std::vector<double>& xn, const std::vector<double>& Yd,
                              const std::vector<double>& Ys, std::vector<double>& F,
                              TBaseElement*& culprit) {
    culprit = nullptr;
    bool finite = true;
    F.resize(std::size_t(Nz()));

    for (int i = 0; i < nDyn; ++i) u_[std::size_t(i)] = Signal(dynInputs_[std::size_t(i)], Yd, Ys);
    for (int i = 0; i < nDyn; ++i)
        F[std::size_t(i)] = RowTimes(cRows_[std::size_t(i)], xn) + RowTimes(dRows_[std::size_t(i)], u_) -
                            Yd[std::size_t(i)];

    std::vector<double>& inputs = model_.StaticInputs;
    for (int k = 0; k < nSI; ++k) inputs[std::size_t(k)] = Signal(staticInputs_[std::size_t(k)], Yd, Ys);
    for (int j = 0; j < nStat; ++j) {
        const double f = statics_[std::size_t(j)].Value();
        if (!std::isfinite(f) && finite) {
            finite = false;
            culprit = staticOwners_[std::size_t(j)];
        }
        F[std::size_t(nDyn + j)] = Ys[std::size_t(j)] - f;
    }

    for (std::size_t i = 0; i < controls_.size(); ++i) controlValues_[i] = Signal(controls_[i], Yd, Ys);

    double* rn = F.data() + nDyn + nStat;
    for (int n = 0; n < nNodes; ++n) rn[n] = 0.0;
    const std::vector<double>& phi = model_.Phi;
    for (Branch& br : branches_) {
        const double g = br.g.Value();
        double E = 0.0, J = 0.0;
        if (br.control < 0) {
            E = br.E.Value();
            J = br.J.Value();
        } else if (br.control < nCV) {
            E = controlValues_[std::size_t(br.control)];
        } else {
            J = controlValues_[std::size_t(br.control)];
        }
        double u = 0.0;
        if (br.nodeA >= 0) u += br.coefA * phi[std::size_t(br.nodeA)];
        if (br.nodeB >= 0) u += br.coefB * phi[std::size_t(br.nodeB)];
        const double c = g * (E - u) - J;
        if (!std::isfinite(c) && finite) {
            finite = false;
            culprit = br.owner;
        }
        if (br.nodeA >= 0) rn[br.nodeA] += br.coefA * c;
        if (br.nodeB >= 0) rn[br.nodeB] += br.coefB * c;
    }
    if (finite)
        for (double v : F)
            if (!std::isfinite(v)) {
                finite = false;
                break;
            }
    return finite;
}

void TCompiledModel::ConsumerInputs(const std::vector<double>& Yd, const std::vector<double>& Ys,
                                    std::vector<double>& out) {
    out.resize(std::size_t(nCons));
    for (int i = 0; i < nCons; ++i) out[std::size_t(i)] = Signal(consumerInputs_[std::size_t(i)], Yd, Ys);
}
