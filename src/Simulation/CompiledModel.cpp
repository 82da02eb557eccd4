#include "Simulation/CompiledModel.h"

#include <algorithm>
#include <cmath>
#include <map>

#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "blocks/Families.h"
#include "Simulation/CircuitModel.h"
#include "Simulation/ModelAssembly.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"

TCompiledModel::TCompiledModel(const Schematic& sheet, TSimModel& m) : model_(m) {
    nDyn = m.D.ysize;
    nStat = m.F.ysize;
    nNodes = m.NodeRows;
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
    for (int j = 0; j < m.Un.ysize; ++j) producerOwners_.push_back(sheet.Producers[j]);

    // Branch owners, in the order model assembly numbered the branches.
    const int nBr = int(m.Branches.size());
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
        const TBranch& src = m.Branches[std::size_t(b)];
        br.nodeA = src.NodeA;
        br.coefA = src.CoefA;
        br.nodeB = src.NodeB;
        br.coefB = src.CoefB;
        br.g = src.g;
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

    // The nodal matrix's pattern, and each node's branches in branch order.
    std::map<std::pair<int, int>, int> slotOf;
    nodeBranches_.assign(std::size_t(nNodes), {});
    for (int b = 0; b < nBr; ++b) {
        Branch& br = branches_[std::size_t(b)];
        const int nodes[2] = {br.nodeA, br.nodeB};
        const double coefs[2] = {br.coefA, br.coefB};
        int k = 0;
        for (int r = 0; r < 2; ++r) {
            if (nodes[r] < 0) continue;
            nodeBranches_[std::size_t(nodes[r])].push_back(b);
            for (int c = 0; c < 2; ++c) {
                if (nodes[c] < 0) continue;
                auto [it, fresh] = slotOf.try_emplace({nodes[r], nodes[c]}, int(slotOf.size()));
                br.slots[k] = it->second;
                br.signs[k] = coefs[r] * coefs[c];
                ++k;
            }
        }
    }
    nodal_.assign(slotOf.size(), 0.0);
    nodeSlots_.assign(std::size_t(nNodes), {});
    for (const auto& [rc, slot] : slotOf) nodeSlots_[std::size_t(rc.first)].push_back({rc.second, slot});
    branchG_.assign(std::size_t(nBr), 0.0);
    branchA_.assign(std::size_t(nBr), 0.0);
    allConductancesFixed_ = true;
    for (int b = 0; b < nBr; ++b) {
        const Branch& br = branches_[std::size_t(b)];
        if (br.g.VariesWithinStep()) allConductancesFixed_ = false;
        if (br.control >= 0 || br.g.VariesWithinStep() || br.E.VariesWithinStep() || br.J.VariesWithinStep())
            liveBranches_.push_back(b);
        if (br.g.IsDynamic() || br.E.Slopes()) stepBranches_.push_back(b);
    }

    // Dynamic rows: the one source of each input, as the products see it.
    for (int i = 0; i < nDyn; ++i) {
        DynamicRow row;
        row.d = m.D(i, i).Value();
        for (int j = 0; j < nStat; ++j)
            if (m.Hc(i, j).Value() != 0.0) row.staticSource = j;
        for (int j = 0; j < m.G.xsize; ++j)
            if (m.G(i, j).Value() != 0.0) row.producerSource = j;
        for (int k = 0; k < nDyn; ++k) {
            const double c = row.d * m.Hd(i, k).Value() - (k == i ? 1.0 : 0.0);
            if (c != 0.0) row.ydTerms.emplace_back(k, c);
        }
        for (int n = 0; n < nNodes; ++n) {
            double c = 0.0;
            for (int j = 0; j < m.Ge.xsize; ++j) c += row.d * m.Ge(i, j).Value() * m.Mf(j, n).Value();
            if (c != 0.0) row.phiTerms.emplace_back(n, c);
        }
        dynamicRows_.push_back(std::move(row));
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
    ++model_.Evaluation;

    const std::vector<double>& phi = model_.Phi;
    for (int i = 0; i < nDyn; ++i) {
        const DynamicRow& row = dynamicRows_[std::size_t(i)];
        const double t1 = RowTimes(cRows_[std::size_t(i)], xn);
        const double t2 = row.staticSource >= 0 ? row.d * Ys[std::size_t(row.staticSource)] : 0.0;
        double t3 = 0.0;
        for (const auto& [k, c] : row.ydTerms) t3 += c * Yd[std::size_t(k)];
        const double t4 = row.producerSource >= 0 ? row.d * producers_[std::size_t(row.producerSource)].Value() : 0.0;
        double t5 = 0.0;
        for (const auto& [n, c] : row.phiTerms) t5 += c * phi[std::size_t(n)];
        F[std::size_t(i)] = t1 + t2 + t3 + t4 + t5;
    }

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

    // rn = Z·(g·Eb − Jb) − (Z·g·Zᵀ)·Phi. Values fixed within the step
    // (static ones, companion sources, machine windings) are read at the
    // step's first evaluation; later evaluations read again only the others,
    // and the nodal matrix only when a conductance varies within the step.
    const bool firstOfStep = !(model_.Time == stepTime_);
    stepTime_ = model_.Time;
    if (firstOfStep || !allConductancesFixed_) {
        std::fill(nodal_.begin(), nodal_.end(), 0.0);
        for (std::size_t b = 0; b < branches_.size(); ++b) EvaluateBranch(b, true, finite, culprit);
    } else {
        for (int b : liveBranches_) EvaluateBranch(std::size_t(b), false, finite, culprit);
    }
    double* rn = F.data() + nDyn + nStat;
    for (int n = 0; n < nNodes; ++n) {
        double t1 = 0.0;
        for (int b : nodeBranches_[std::size_t(n)]) {
            const Branch& br = branches_[std::size_t(b)];
            t1 += (br.nodeA == n ? br.coefA : br.coefB) * branchA_[std::size_t(b)];
        }
        double t2 = 0.0;
        for (const NodeSlot& s : nodeSlots_[std::size_t(n)]) t2 += nodal_[std::size_t(s.slot)] * phi[std::size_t(s.column)];
        rn[n] = t1 - t2;
    }
    if (finite)
        for (double v : F)
            if (!std::isfinite(v)) {
                finite = false;
                break;
            }
    return finite;
}

void TCompiledModel::EvaluateBranch(std::size_t b, bool addToNodal, bool& finite, TBaseElement*& culprit) {
    Branch& br = branches_[b];
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
    const double a = g * E - J;
    if (!std::isfinite(a) && finite) {
        finite = false;
        culprit = br.owner;
    }
    branchG_[b] = g;
    branchA_[b] = a;
    if (addToNodal)
        for (int k = 0; k < 4 && br.slots[k] >= 0; ++k) nodal_[std::size_t(br.slots[k])] += br.signs[k] * g;
}

void TCompiledModel::ConsumerInputs(const std::vector<double>& Yd, const std::vector<double>& Ys,
                                    std::vector<double>& out) {
    out.resize(std::size_t(nCons));
    for (int i = 0; i < nCons; ++i) out[std::size_t(i)] = Signal(consumerInputs_[std::size_t(i)], Yd, Ys);
}

void TCompiledModel::SourceValues(const std::vector<double>& Yd, const std::vector<double>& Ys,
                                  std::vector<double>& out) {
    out.clear();
    for (const TValue& v : producers_) out.push_back(v.Value());
    for (int j = 0; j < int(sensorRows_.size()); ++j) out.push_back(SensorValue(j));
    out.insert(out.end(), Yd.begin(), Yd.end());
    out.insert(out.end(), Ys.begin(), Ys.end());
}

// The unknowns an element's live values read, as columns of z.
std::vector<int> TCompiledModel::LiveColumns(const Schematic& sheet, const TBaseElement* e) const {
    std::vector<int> cols;
    if (!e) return cols;
    TLiveReads reads;
    e->DeclareLiveReads(reads);
    const int phi = nDyn + nStat;
    for (const TConnector* pin : reads.Pins)
        if (pin && pin->IsConnected() && pin->FSimNode >= 0 && pin->FSimNode < nNodes) cols.push_back(phi + pin->FSimNode);
    for (int k : reads.InternalNodes)
        if (const int n = e->FNodeBase + k; n >= 0 && n < nNodes) cols.push_back(phi + n);
    for (const TInfoInput* input : reads.Inputs) {
        const TSignalSource src = ClassifySource(sheet, input);
        if (src.Index < 0) continue;
        switch (src.Type) {
        case TSignalSource::Sensor: SensorColumns(src.Index, cols); break;
        case TSignalSource::Dynamic: cols.push_back(src.Index); break;
        case TSignalSource::Static: cols.push_back(nDyn + src.Index); break;
        default: break;  // producers follow time and step state only
        }
    }
    return cols;
}

void TCompiledModel::SensorColumns(int sensor, std::vector<int>& cols) const {
    const Row& r = sensorRows_[std::size_t(sensor)];
    for (int k = r.first, e = r.first + r.count; k < e; ++k)
        cols.push_back(nDyn + nStat + entries_[std::size_t(k)].index);
}

TSparsePattern TCompiledModel::JacobianPattern(const Schematic& sheet, std::vector<char>& varyingColumns,
                                               std::vector<char>* formedColumns) const {
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(Nz()));
    // How often a row's derivatives can change: 2 within a step (it reads,
    // through a value that varies at every read, unknowns the value depends
    // on), 1 from one step to the next (a conductance updated once a step, a
    // value affine within a step), 0 never (linear with fixed coefficients).
    std::vector<char> varyingRow(std::size_t(Nz()), 0);
    // Rows whose change from step to step StepDerivatives does not form.
    std::vector<char> opaqueRow(std::size_t(Nz()), 0);
    auto producerColumns = [&](int j, std::vector<int>& cols, char& varying, char& opaque) {
        const std::vector<int> own = LiveColumns(sheet, producerOwners_[std::size_t(j)]);
        if (!own.empty() && producers_[std::size_t(j)].DerivativesVaryWithinStep()) varying = 2;
        else if (!own.empty() && producers_[std::size_t(j)].VariesWithinStep()) {
            varying = std::max<char>(varying, 1);
            opaque = 1;
        }
        cols.insert(cols.end(), own.begin(), own.end());
    };
    auto couplingColumns = [&](const Coupling& c, std::vector<int>& cols, char& varying, char& opaque) {
        for (int k = c.first, e = c.first + c.count; k < e; ++k) {
            const Term& t = terms_[std::size_t(k)];
            switch (t.kind) {
            case 0: producerColumns(t.index, cols, varying, opaque); break;
            case 1: SensorColumns(t.index, cols); break;
            case 2: cols.push_back(t.index); break;
            default: cols.push_back(nDyn + t.index); break;
            }
        }
    };
    for (int i = 0; i < nDyn; ++i) {
        const DynamicRow& row = dynamicRows_[std::size_t(i)];
        std::vector<int>& cols = rows[std::size_t(i)];
        for (const auto& [k, c] : row.ydTerms) cols.push_back(k);
        for (const auto& [n, c] : row.phiTerms) cols.push_back(nDyn + nStat + n);
        if (row.staticSource >= 0) cols.push_back(nDyn + row.staticSource);
        if (row.producerSource >= 0 && row.d != 0.0)
            producerColumns(row.producerSource, cols, varyingRow[std::size_t(i)], opaqueRow[std::size_t(i)]);
    }
    for (int j = 0; j < nStat; ++j) {
        std::vector<int>& cols = rows[std::size_t(nDyn + j)];
        const auto* s = dynamic_cast<const TStatic*>(staticOwners_[std::size_t(j)]);
        char ignored = 0, opaque = 0;
        if (s)
            for (std::size_t k = 0; k < s->FInputs.size(); ++k) {
                const int input = s->FInputBase + int(k);
                if (input >= 0 && input < nSI)
                    couplingColumns(staticInputs_[std::size_t(input)], cols, ignored, opaque);
            }
        const std::vector<int> own = LiveColumns(sheet, staticOwners_[std::size_t(j)]);
        cols.insert(cols.end(), own.begin(), own.end());
        // A block's function of its inputs may be anything.
        varyingRow[std::size_t(nDyn + j)] = cols.empty() ? 0 : 2;
    }
    // A node row reads the potentials at both ends of each of its branches
    // and whatever the branch's values read.
    std::map<const TBaseElement*, std::vector<int>> ownerColumns;
    for (const Branch& br : branches_) {
        std::vector<int> reads;
        char varying = 0, opaque = 0;
        if (br.nodeA >= 0) reads.push_back(nDyn + nStat + br.nodeA);
        if (br.nodeB >= 0) reads.push_back(nDyn + nStat + br.nodeB);
        if (br.g.IsDynamic() || br.E.IsDynamic() || br.J.IsDynamic()) {
            auto [it, fresh] = ownerColumns.try_emplace(br.owner);
            if (fresh) it->second = LiveColumns(sheet, br.owner);
            reads.insert(reads.end(), it->second.begin(), it->second.end());
            if (!it->second.empty()) {
                if (br.g.DerivativesVaryWithinStep() || br.E.DerivativesVaryWithinStep() ||
                    br.J.DerivativesVaryWithinStep())
                    varying = 2;
                else if (br.g.VariesWithinStep() || br.E.VariesWithinStep() || br.J.VariesWithinStep()) {
                    varying = 1;
                    // Only an EMF's stated slopes are formed.
                    if (br.g.VariesWithinStep() || br.J.VariesWithinStep() || !br.E.Slopes()) opaque = 1;
                }
            }
        }
        // A conductance that changes from step to step (a machine winding)
        // changes its entries once a step; E and J that do add nothing to
        // the derivatives.
        if (!varying && br.g.IsDynamic()) {
            varying = 1;
            if (br.g.VariesWithinStep()) opaque = 1;
        }
        if (br.control >= 0) {
            couplingColumns(controls_[std::size_t(br.control)], reads, varying, opaque);
            // g times a controlled EMF: its slopes are not stated.
            if (br.g.IsDynamic()) opaque = 1;
        }
        for (int node : {br.nodeA, br.nodeB})
            if (node >= 0) {
                const std::size_t row = std::size_t(nDyn + nStat + node);
                rows[row].insert(rows[row].end(), reads.begin(), reads.end());
                varyingRow[row] = std::max(varyingRow[row], varying);
                opaqueRow[row] = char(opaqueRow[row] | opaque);
            }
    }
    TSparsePattern pattern = PatternFromRows(rows);
    varyingColumns.assign(std::size_t(Nz()), 0);
    for (int k = 0; k < pattern.n; ++k)
        for (int e = pattern.colStart[std::size_t(k)]; e < pattern.colStart[std::size_t(k) + 1]; ++e)
            varyingColumns[std::size_t(k)] =
                std::max(varyingColumns[std::size_t(k)], varyingRow[std::size_t(pattern.rowIndex[std::size_t(e)])]);
    if (formedColumns) {
        formedColumns->assign(std::size_t(Nz()), 0);
        for (int k = 0; k < pattern.n; ++k) {
            bool formed = varyingColumns[std::size_t(k)] == 1;
            for (int e = pattern.colStart[std::size_t(k)]; formed && e < pattern.colStart[std::size_t(k) + 1]; ++e)
                if (opaqueRow[std::size_t(pattern.rowIndex[std::size_t(e)])]) formed = false;
            (*formedColumns)[std::size_t(k)] = formed;
        }
    }
    return pattern;
}

bool TCompiledModel::StepDerivatives(const TSparsePattern& pattern, std::vector<double>& S) {
    const int phi = nDyn + nStat;
    // -2: nothing to add (ground, the reference node); -1: an entry the
    // pattern lacks.
    auto find = [&](int row, int column) {
        if (row < 0 || column < 0 || column >= nNodes) return -2;
        return pattern.Find(phi + row, phi + column);
    };
    if (slopePattern_ != &pattern) {
        slopeEntries_.assign(stepBranches_.size(), {});
        for (std::size_t s = 0; s < stepBranches_.size(); ++s) {
            const Branch& br = branches_[std::size_t(stepBranches_[s])];
            const int nodes[2] = {br.nodeA, br.nodeB};
            const double coefs[2] = {br.coefA, br.coefB};
            for (int r = 0, k = 0; r < 2; ++r)
                for (int c = 0; c < 2; ++c, ++k) {
                    slopeEntries_[s].nodal[k] = find(nodes[r], nodes[c]);
                    slopeEntries_[s].nodalSign[k] = -coefs[r] * coefs[c];
                }
        }
        slopePattern_ = &pattern;
    }
    bool inside = true;
    for (std::size_t s = 0; s < stepBranches_.size(); ++s) {
        const Branch& br = branches_[std::size_t(stepBranches_[s])];
        SlopeEntries& cache = slopeEntries_[s];
        const double g = branchG_[std::size_t(stepBranches_[s])];
        for (int k = 0; k < 4; ++k)
            if (cache.nodal[k] >= 0) S[std::size_t(cache.nodal[k])] += cache.nodalSign[k] * g;
        const TValue::SlopeGetter slopes = br.E.Slopes();
        if (!slopes) continue;
        const int count = slopes(br.E.Element(), slopes_);
        bool same = int(cache.nodes.size()) == count;
        for (int q = 0; same && q < count; ++q) same = cache.nodes[std::size_t(q)] == slopes_[q].Node;
        if (!same) {
            cache.nodes.resize(std::size_t(count));
            cache.entries.resize(2 * std::size_t(count));
            for (int q = 0; q < count; ++q) {
                const int n = cache.nodes[std::size_t(q)] = slopes_[q].Node;
                cache.entries[2 * std::size_t(q)] = find(br.nodeA, n);
                cache.entries[2 * std::size_t(q) + 1] = find(br.nodeB, n);
            }
        }
        const double za = br.coefA * g, zb = br.coefB * g;
        const int* e = cache.entries.data();
        for (int q = 0; q < count; ++q, e += 2) {
            const double v = slopes_[q].Value;
            if (e[0] >= 0) S[std::size_t(e[0])] += za * v;
            else if (e[0] == -1 && v != 0.0) inside = false;
            if (e[1] >= 0) S[std::size_t(e[1])] += zb * v;
            else if (e[1] == -1 && v != 0.0) inside = false;
        }
    }
    return inside;
}
