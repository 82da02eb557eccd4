#include "Simulation/ModelAssembly.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <sstream>
#include <vector>

#include "Simulation/CircuitModel.h"
#include "Simulation/LinearSolver.h"
#include "model/Messages.h"
#include <cstdio>
#include "Simulation/SimModel.h"
#include "blocks/Families.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"

TSignalSource ClassifySource(const Schematic& sheet, const TInfoInput* input) {
    if (!input || !input->IsConnected()) return {};
    return ClassifyOutput(sheet, input->GetSource());
}

int SourceSlot(const Schematic& sheet, const TSignalSource& source) {
    if (source.Index < 0) return -1;
    const int producers = sheet.Producers.Count(), sensors = sheet.VoltageSummators.Count(),
              dynamics = sheet.Dynamics.Count();
    switch (source.Type) {
    case TSignalSource::Producer: return source.Index;
    case TSignalSource::Sensor: return producers + source.Index;
    case TSignalSource::Dynamic: return producers + sensors + source.Index;
    case TSignalSource::Static: return producers + sensors + dynamics + source.Index;
    case TSignalSource::None: break;
    }
    return -1;
}

TSignalSource ClassifyOutput(const Schematic& sheet, const TInfoOutput* output) {
    TBaseElement* owner = output ? output->Parent() : nullptr;
    if (!owner) return {};
    if (auto* p = dynamic_cast<TProducer*>(owner)) return {TSignalSource::Producer, sheet.Producers.IndexOf(p)};
    if (int i = sheet.VoltageSummators.IndexOf(owner); i >= 0) return {TSignalSource::Sensor, i};
    if (auto* d = dynamic_cast<TDynamic*>(owner)) return {TSignalSource::Dynamic, sheet.Dynamics.IndexOf(d)};
    if (auto* s = dynamic_cast<TStatic*>(owner)) return {TSignalSource::Static, sheet.Statics.IndexOf(s)};
    return {};
}

namespace {

// The four coupling matrices of one kind of sink, in source-kind order.
struct Couplings {
    TMatrix* producer;
    TMatrix* sensor;
    TMatrix* dynamic;
    TMatrix* statics;
};

void Couple(const Schematic& sheet, const TInfoInput* input, int row, const Couplings& m) {
    const TSignalSource s = ClassifySource(sheet, input);
    TMatrix* target = nullptr;
    switch (s.Type) {
    case TSignalSource::Producer: target = m.producer; break;
    case TSignalSource::Sensor: target = m.sensor; break;
    case TSignalSource::Dynamic: target = m.dynamic; break;
    case TSignalSource::Static: target = m.statics; break;
    case TSignalSource::None: return;
    }
    if (target && s.Index >= 0) (*target)(row, s.Index) = 1.0;
}

// Equation index of every listed node, and the number of unknown potentials
// among them. Ground nodes map to `ground` (fixed up once the total is known).
struct NodeMap {
    std::vector<int> equation;
    int unknownListed = 0;
    bool hasGround = false;
};

constexpr int GroundMark = -2;

NodeMap NumberListedNodes(const Schematic& sheet) {
    const int L = sheet.Nodes.Count();
    std::vector<bool> ground(std::size_t(L), false);
    for (TConnector* c : sheet.ConnectorList)
        if (c->FNet == "GND" && c->IsConnected())
            if (int n = c->GetNodeID(); n >= 0 && n < L) ground[std::size_t(n)] = true;
    NodeMap map;
    map.equation.resize(std::size_t(L));
    const int grounds = int(std::count(ground.begin(), ground.end(), true));
    map.hasGround = grounds > 0;
    map.unknownListed = L - grounds;
    // Ground nodes inside the range free their numbers for the nodes past it.
    std::vector<int> holes;
    for (int p = 0; p < L; ++p) {
        if (ground[std::size_t(p)]) {
            map.equation[std::size_t(p)] = GroundMark;
            if (p < map.unknownListed) holes.push_back(p);
        } else {
            map.equation[std::size_t(p)] = p;
        }
    }
    std::size_t next = 0;
    for (int p = map.unknownListed; p < L; ++p)
        if (!ground[std::size_t(p)]) map.equation[std::size_t(p)] = holes[next++];
    return map;
}


} // namespace

TModelSize CountModel(const Schematic& sheet) {
    TModelSize s;
    s.nProd = sheet.Producers.Count();
    s.nVS = sheet.VoltageSummators.Count();
    s.nDyn = sheet.Dynamics.Count();
    s.nStat = sheet.Statics.Count();
    s.nCons = sheet.Consumers.Count();
    s.nCV = sheet.ControlledVoltages.Count();
    s.nCC = sheet.ControlledCurrents.Count();
    for (TStatic* st : sheet.Statics)
        s.nSI += std::int64_t(st->FInputs.size());
    for (TDynamic* d : sheet.Dynamics)
        s.nX += d->GetOrder();
    const NodeMap map = NumberListedNodes(sheet);
    std::int64_t counter = map.hasGround ? map.unknownListed : sheet.Nodes.Count();
    for (TBaseElement* e : sheet.Elements) {
        const TBranchRecord* table = e->GetCircuitModel();
        counter += InternalNodeCount(table);
        s.nBr += BranchCount(table);
    }
    s.nNodes = map.hasGround ? counter : std::max<std::int64_t>(0, counter - 1);
    return s;
}

double DenseMatrixValues(const TModelSize& s) {
    const double dyn = double(s.nDyn), st = double(s.nStat), prod = double(s.nProd),
                 vs = double(s.nVS);
    const double si = double(s.nSI), cons = double(s.nCons), x = double(s.nX),
                 nodes = double(s.nNodes);
    const double br = double(s.nBr);
    const double plain = br - double(s.nCV + s.nCC);
    // Every labelled matrix BuildModel allocates, element by element.
    return dyn * (prod + vs + dyn + st) + si * (prod + vs + dyn + st) +
           cons * (prod + vs + st + dyn) + st + x * x + x * dyn + dyn * x + dyn * dyn + x +
           2 * plain + vs * nodes + double(s.nCV + s.nCC) * (st + dyn + prod + vs) + prod;
}

double ModelBytes(const TModelSize& s) {
    const double z = double(s.Nz()), br = double(s.nBr);
    // The branch list, and what the time loop compiles of each branch.
    const double branches = br * (double(sizeof(TBranch)) + 160.0);
    // The Jacobian: dense below the solver's limit; above it its pattern
    // (about four entries a branch) with room for the factors' fill-in.
    const double jacobian = z < DenseSolverLimit ? 2 * z * z * double(sizeof(double))
                                                 : 10.0 * (z + 4 * br) * double(sizeof(double) + sizeof(int));
    return DenseMatrixValues(s) * double(sizeof(TValue)) + branches + jacobian;
}

std::unique_ptr<TSimModel> BuildModel(Schematic& sheet) {
    auto model = std::make_unique<TSimModel>(sheet.RunSettings);
    TSimModel& m = *model;
    // Assembly reads live values (a capacitor's C/h), which read the model
    // they are assembled into; whatever was bound before is bound again after.
    struct TBinding {
        Schematic& Sheet;
        TSimModel* Previous;
        ~TBinding() { Sheet.BindRun(Previous); }
    } binding{sheet, sheet.BoundRun()};
    sheet.BindRun(&m);
    const int nProd = sheet.Producers.Count();
    const int nVS = sheet.VoltageSummators.Count();
    const int nDyn = sheet.Dynamics.Count();
    const int nStat = sheet.Statics.Count();
    const int nCons = sheet.Consumers.Count();
    const int nCV = sheet.ControlledVoltages.Count();
    const int nCC = sheet.ControlledCurrents.Count();

    // 1. Producer outputs.
    m.Un = TMatrix(nProd, 1);
    for (int j = 0; j < nProd; ++j) m.Un.At(j) = sheet.Producers[j]->GetOutput();

    // 2. Static-input numbering.
    int nSI = 0;
    for (TStatic* s : sheet.Statics) {
        s->FInputBase = nSI;
        nSI += int(s->FInputs.size());
    }

    // 3-6. Couplings of the block inputs.
    m.G = TMatrix(nDyn, nProd);
    m.Ge = TMatrix(nDyn, nVS);
    m.Hd = TMatrix(nDyn, nDyn);
    m.Hc = TMatrix(nDyn, nStat);
    m.P = TMatrix(nSI, nProd);
    m.Pe = TMatrix(nSI, nVS);
    m.Qd = TMatrix(nSI, nDyn);
    m.Qc = TMatrix(nSI, nStat);
    m.N = TMatrix(nCons, nProd);
    m.Ne = TMatrix(nCons, nVS);
    m.Nc = TMatrix(nCons, nStat);
    m.Nd = TMatrix(nCons, nDyn);
    for (int i = 0; i < nDyn; ++i) Couple(sheet, sheet.Dynamics[i]->Input, i, {&m.G, &m.Ge, &m.Hd, &m.Hc});
    for (TStatic* s : sheet.Statics)
        for (std::size_t k = 0; k < s->FInputs.size(); ++k)
            Couple(sheet, s->FInputs[k], s->FInputBase + int(k), {&m.P, &m.Pe, &m.Qd, &m.Qc});
    for (int i = 0; i < nCons; ++i) Couple(sheet, sheet.Consumers[i]->Input, i, {&m.N, &m.Ne, &m.Nd, &m.Nc});

    // 7. Static-block outputs.
    m.F = TMatrix(nStat, 1);
    for (int j = 0; j < nStat; ++j) m.F.At(j) = sheet.Statics[j]->GetOutput();

    // 8. State space of the dynamic blocks.
    int nX = 0;
    for (TDynamic* d : sheet.Dynamics) nX += d->GetOrder();
    m.A = TMatrix(nX, nX);
    m.B = TMatrix(nX, nDyn);
    m.C = TMatrix(nDyn, nX);
    m.D = TMatrix(nDyn, nDyn);
    m.Xk = TMatrix(nX, 1);
    for (int i = 0, off = 0; i < nDyn; ++i) {
        TDynamic* d = sheet.Dynamics[i];
        const int n = d->GetOrder();
        const TMatrix a = d->GetA(), b = d->GetB(), c = d->GetC(), dd = d->GetD();
        for (int r = 0; r < n; ++r) {
            for (int col = 0; col < n; ++col) m.A(off + r, off + col) = a(r, col);
            m.B(off + r, i) = b(r, 0);
            m.C(i, off + r) = c(0, r);
            m.Xk.At(off + r) = d->GetInitialState(r);
        }
        if (dd.Size() > 0) m.D(i, i) = dd(0, 0);
        off += n;
    }

    // 9. Node numbering: listed nodes, then every element's internal nodes.
    NodeMap map = NumberListedNodes(sheet);
    int counter = map.hasGround ? map.unknownListed : sheet.Nodes.Count();
    int nBr = 0;
    for (TBaseElement* e : sheet.Elements) {
        const TBranchRecord* table = e->GetCircuitModel();
        e->FNodeBase = counter;
        counter += InternalNodeCount(table);
        nBr += BranchCount(table);
    }
    const int nNodes = map.hasGround ? counter : std::max(0, counter - 1);
    for (int& eq : map.equation)
        if (eq == GroundMark) eq = nNodes;
    for (int p = 0; p < sheet.Nodes.Count(); ++p) sheet.Nodes[p]->SimIndex = map.equation[std::size_t(p)];
    for (TConnector* c : sheet.ConnectorList) {
        const int n = c->IsConnected() ? c->GetNodeID() : -1;
        c->FSimNode = n >= 0 && n < int(map.equation.size()) ? map.equation[std::size_t(n)] : -1;
    }

    // 10-11. Branches.
    const int nPlain = nBr - nCV - nCC;
    m.NodeRows = nNodes;
    m.Branches.assign(std::size_t(nBr), TBranch{});
    m.En = TMatrix(nPlain, 1);
    m.Jn = TMatrix(nPlain, 1);
    m.FirstCVBranch = nPlain;
    m.FirstCCBranch = nPlain + nCV;
    int plain = 0, cv = m.FirstCVBranch, cc = m.FirstCCBranch;
    for (TBaseElement* e : sheet.Elements) {
        const TBranchRecord* table = e->GetCircuitModel();
        if (!table) continue;
        const bool isCV = sheet.ControlledVoltages.Contains(e);
        const bool isCC = !isCV && sheet.ControlledCurrents.Contains(e);
        int& counterRef = isCV ? cv : isCC ? cc : plain;
        for (const TBranchRecord* r = table; r->T1.Kind != -1; ++r) {
            const int b = counterRef++;
            const int n1 = TerminalNode(*e, r->T1);
            const int n2 = TerminalNode(*e, r->T2);
            // A branch with an unconnected pin carries no current: leaving
            // out only that terminal would tie the other end to the
            // reference node through the branch. A branch with both ends on
            // one node carries nothing into it either: the incidences cancel.
            TBranch& br = m.Branches[std::size_t(b)];
            if (n1 >= 0 && n2 >= 0 && n1 != n2) {
                const std::pair<int, double> ends[2] = {{n1, -1.0}, {n2, 1.0}};
                for (const auto& [node, coef] : ends) {
                    if (node >= nNodes) continue;
                    if (br.NodeA < 0) {
                        br.NodeA = node;
                        br.CoefA = coef;
                    } else {
                        br.NodeB = node;
                        br.CoefB = coef;
                    }
                }
                if (br.NodeB >= 0 && br.NodeB < br.NodeA) {
                    std::swap(br.NodeA, br.NodeB);
                    std::swap(br.CoefA, br.CoefB);
                }
            }
            br.g = EvaluateValue(*e, r->g);
            if (!isCV && !isCC) {
                m.En.At(b) = EvaluateValue(*e, r->E);
                m.Jn.At(b) = EvaluateValue(*e, r->J);
            }
        }
    }

    // 12. Voltage sensors.
    m.Mf = TMatrix(nVS, nNodes);
    for (int i = 0; i < nVS; ++i) {
        TBaseElement* s = sheet.VoltageSummators[i];
        if (TConnector* plus = s->FindConnector("Plus"); plus && plus->IsConnected())
            if (plus->FSimNode >= 0 && plus->FSimNode < nNodes) m.Mf(i, plus->FSimNode) = 1.0;
        if (TConnector* minus = s->FindConnector("Minus"); minus && minus->IsConnected())
            if (minus->FSimNode >= 0 && minus->FSimNode < nNodes) m.Mf(i, minus->FSimNode) = -1.0;
    }

    // 13. Control inputs of the controlled sources, a sensor column included.
    m.Mec = TMatrix(nCV, nStat);
    m.Med = TMatrix(nCV, nDyn);
    m.Meu = TMatrix(nCV, nProd);
    m.Mev = TMatrix(nCV, nVS);
    m.Mjc = TMatrix(nCC, nStat);
    m.Mjd = TMatrix(nCC, nDyn);
    m.Mju = TMatrix(nCC, nProd);
    m.Mjv = TMatrix(nCC, nVS);
    for (int i = 0; i < nCV; ++i)
        Couple(sheet, sheet.ControlledVoltages[i]->FindInput("Input"), i, {&m.Meu, &m.Mev, &m.Med, &m.Mec});
    for (int i = 0; i < nCC; ++i)
        Couple(sheet, sheet.ControlledCurrents[i]->FindInput("Input"), i, {&m.Mju, &m.Mjv, &m.Mjd, &m.Mjc});

    // 14. Run vectors.
    m.StaticInputs.assign(std::size_t(nSI), 0.0);
    m.Time = -1.0;
    return model;
}

void WriteModelDump(const Schematic& sheet, const TSimModel& m, const std::string& dumpDir) {
    if (dumpDir.empty()) return;
    const long unknowns = long(m.NodeRows) + sheet.Dynamics.Count() + sheet.Statics.Count();
    const long nBr = long(m.Branches.size());
    if ((unknowns <= DebugDumpLimit && nBr <= DebugDumpBranchLimit) || m.DumpLargeModels) {
        WriteDebugDump(m, dumpDir + "/debug.txt");
    } else {
        std::remove((dumpDir + "/debug.txt").c_str());
        Msg().Information("Файл debug.txt не записан: в модели " + std::to_string(unknowns) +
                              " неизвестных и " + std::to_string(nBr) +
                              " ветвей, а без явного запроса он пишется не более чем для " +
                              std::to_string(DebugDumpLimit) + " неизвестных и " +
                              std::to_string(DebugDumpBranchLimit) + " ветвей.",
                          ApplicationTitle);
    }
}

TMatrix IncidenceMatrix(const TSimModel& m) {
    TMatrix Z(m.NodeRows, int(m.Branches.size()));
    for (std::size_t b = 0; b < m.Branches.size(); ++b) {
        const TBranch& br = m.Branches[b];
        if (br.NodeA >= 0) Z(br.NodeA, int(b)) = br.CoefA;
        if (br.NodeB >= 0) Z(br.NodeB, int(b)) = br.CoefB;
    }
    return Z;
}

TMatrix ConductanceMatrix(const TSimModel& m) {
    const int n = int(m.Branches.size());
    TMatrix g(n, n);
    for (int b = 0; b < n; ++b) g(b, b) = m.Branches[std::size_t(b)].g;
    return g;
}

namespace {

// One labelled matrix, element by element; `at(y, x)` gives an element.
template <class At>
void DumpRows(std::ostream& out, const char* label, int rows, int cols, At at) {
    out << label << "=[\n";
    for (int y = 0; y < rows; ++y) {
        for (int x = 0; x < cols; ++x) {
            const TValue v = at(y, x);
            // Most entries are static zeros: written without formatting.
            if (!v.IsDynamic() && v.Value() == 0.0 && !std::signbit(v.Value())) out << "\t0";
            else if (v.IsDynamic()) out << "\t<" << v.Value() << '>';
            else out << '\t' << v.Value();
        }
        out << ";\n";
    }
    out << "\t];\n";
}

void DumpMatrix(std::ostream& out, const char* label, const TMatrix& m) {
    DumpRows(out, label, m.ysize, m.xsize, [&m](int y, int x) { return m(y, x); });
}

} // namespace

bool WriteDebugDump(const TSimModel& m, const std::string& path) {
    std::ofstream out(path, std::ios::trunc);
    if (!out) return false;
    // The incidence and conductance matrices are written from the branch
    // list, row by row, without forming them.
    const std::pair<const char*, const TMatrix*> order[] = {
        {"A", &m.A},     {"B", &m.B},     {"C", &m.C},     {"D", &m.D},     {"Xk", &m.Xk},
        {"G", &m.G},     {"Ge", &m.Ge},   {"Hd", &m.Hd},   {"Hc", &m.Hc},   {"P", &m.P},
        {"Pe", &m.Pe},   {"Qd", &m.Qd},   {"Qc", &m.Qc},   {"F", &m.F},     {"Un", &m.Un},
        {"En", &m.En},   {"Jn", &m.Jn},   {"Z", nullptr},  {"g", nullptr},  {"Mf", &m.Mf},
        {"Mec", &m.Mec}, {"Med", &m.Med}, {"Meu", &m.Meu}, {"Mjc", &m.Mjc}, {"Mjd", &m.Mjd},
        {"Mju", &m.Mju}, {"N", &m.N},     {"Ne", &m.Ne},   {"Nc", &m.Nc},   {"Nd", &m.Nd},
        {"Mev", &m.Mev}, {"Mjv", &m.Mjv}};
    const int nBr = int(m.Branches.size());
    for (const auto& [label, matrix] : order) {
        if (matrix) DumpMatrix(out, label, *matrix);
        else if (label[0] == 'Z')
            DumpRows(out, label, m.NodeRows, nBr, [&m](int n, int b) -> TValue {
                const TBranch& br = m.Branches[std::size_t(b)];
                return br.NodeA == n ? br.CoefA : br.NodeB == n ? br.CoefB : 0.0;
            });
        else
            DumpRows(out, label, nBr, nBr,
                     [&m](int a, int b) { return a == b ? m.Branches[std::size_t(a)].g : TValue(0.0); });
    }
    return bool(out);
}
