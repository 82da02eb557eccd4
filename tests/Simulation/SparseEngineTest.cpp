#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <random>

#include "Simulation/CompiledModel.h"
#include "Simulation/LinearSolver.h"
#include "Simulation/ModelAssembly.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "Simulation/SparsePattern.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/OracleCompare.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace {

using P = CircuitBuilder;

// A random sparse pattern with values; `emptyColumn` >= 0 leaves that
// column and its row without entries (an unknown nothing reads).
struct RandomSystem {
    std::vector<std::vector<double>> dense;
    TSparsePattern pattern;
    std::vector<double> values;
};

RandomSystem MakeSystem(std::mt19937& rng, int n, int emptyColumn) {
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    RandomSystem s;
    s.dense.assign(std::size_t(n), std::vector<double>(std::size_t(n), 0.0));
    std::vector<std::vector<int>> rows(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i)
        for (int k = 0; k < n; ++k) {
            if (i == emptyColumn || k == emptyColumn) continue;
            // Diagonally dominant, so that the system is regular once the
            // empty unknown is pinned; conductances many decades apart.
            const bool diagonal = i == k;
            if (!diagonal && rng() % 5 != 0) continue;
            const double v = diagonal ? std::pow(10.0, double(int(rng() % 10)) - 3.0) * double(n) : u(rng) * 1e-3;
            s.dense[std::size_t(i)][std::size_t(k)] = v;
            rows[std::size_t(i)].push_back(k);
        }
    s.pattern = PatternFromRows(rows);
    s.values.resize(std::size_t(s.pattern.NonZeros()));
    for (int k = 0; k < n; ++k)
        for (int e = s.pattern.colStart[std::size_t(k)]; e < s.pattern.colStart[std::size_t(k) + 1]; ++e)
            s.values[std::size_t(e)] = s.dense[std::size_t(s.pattern.rowIndex[std::size_t(e)])][std::size_t(k)];
    return s;
}

TEST(LinearSolvers, DenseAndSparseSolveTheSameSystemsAndPinEmptyColumns) {
    std::mt19937 rng(7);
    for (int trial = 0; trial < 60; ++trial) {
        const int n = 5 + int(rng() % 120);
        const int empty = trial % 3 == 0 ? int(rng() % unsigned(n)) : -1;
        RandomSystem s = MakeSystem(rng, n, empty);
        std::vector<double> b(static_cast<std::size_t>(n));
        for (double& x : b) x = std::uniform_real_distribution<double>(-5, 5)(rng);

        TDenseSolver dense;
        dense.Analyse(s.pattern);
        ASSERT_TRUE(dense.Factor(s.values));
        std::vector<double> xd = b;
        dense.Solve(xd);
        auto sparse = MakeSparseSolver();
        sparse->Analyse(s.pattern);
        ASSERT_TRUE(sparse->Factor(s.values)) << "trial " << trial;
        std::vector<double> xs = b;
        sparse->Solve(xs);

        for (int i = 0; i < n; ++i) {
            EXPECT_NEAR(xs[std::size_t(i)], xd[std::size_t(i)], 1e-9 * (1 + std::abs(xd[std::size_t(i)])))
                << "trial " << trial << " unknown " << i;
            if (i == empty) {
                EXPECT_EQ(xd[std::size_t(i)], 0.0);
                EXPECT_EQ(xs[std::size_t(i)], 0.0);
                continue;
            }
            // The residual of every equation but the pinned one.
            double r = -b[std::size_t(i)];
            for (int k = 0; k < n; ++k) r += s.dense[std::size_t(i)][std::size_t(k)] * xs[std::size_t(k)];
            EXPECT_NEAR(r, 0.0, 1e-8 * (1 + std::abs(b[std::size_t(i)]))) << "trial " << trial << " row " << i;
        }

        // New values on the same pattern: the refactorisation must give
        // the new solution, not the old one.
        for (double& v : s.values) v *= 2.0;
        ASSERT_TRUE(sparse->Factor(s.values));
        std::vector<double> half = b;
        sparse->Solve(half);
        for (int i = 0; i < n; ++i)
            EXPECT_NEAR(half[std::size_t(i)], xs[std::size_t(i)] / 2, 1e-9 * (1 + std::abs(xs[std::size_t(i)])));
    }
}

TEST(LinearSolvers, ASingularSparseSystemPinsItsDependentColumn) {
    // Two equal columns: the second unknown is pinned, the first solves the
    // system alone.
    const std::vector<std::vector<int>> rows(80, std::vector<int>{});
    std::vector<std::vector<int>> r = rows;
    for (int i = 0; i < 80; ++i) r[std::size_t(i)] = {i};
    r[0] = {0, 1};
    r[1] = {0, 1};
    TSparsePattern p = PatternFromRows(r);
    std::vector<double> v(std::size_t(p.NonZeros()), 1.0);
    auto sparse = MakeSparseSolver();
    sparse->Analyse(p);
    ASSERT_TRUE(sparse->Factor(v));
    std::vector<double> b(80, 2.0);
    sparse->Solve(b);
    EXPECT_NEAR(b[0] + b[1], 2.0, 1e-12);
    EXPECT_TRUE(b[0] == 0.0 || b[1] == 0.0);
    for (int i = 2; i < 80; ++i) EXPECT_NEAR(b[std::size_t(i)], 2.0, 1e-12);
}

TEST(ColumnGroups, NoTwoColumnsOfAGroupShareARowAndALadderNeedsThree) {
    std::mt19937 rng(3);
    for (int trial = 0; trial < 40; ++trial) {
        const int n = 2 + int(rng() % 200);
        std::vector<std::vector<int>> rows(static_cast<std::size_t>(n));
        for (int i = 0; i < n; ++i)
            for (int c = 0; c < 3; ++c) rows[std::size_t(i)].push_back(int(rng() % unsigned(n)));
        const TSparsePattern p = PatternFromRows(rows);
        std::vector<int> group;
        const int groups = ColourColumns(p, group);
        ASSERT_EQ(int(group.size()), n);
        for (int i = 0; i < n; ++i) {
            std::vector<int> seen(std::size_t(groups), -1);
            for (int k = 0; k < n; ++k)
                if (p.Find(i, k) >= 0) {
                    const int g = group[std::size_t(k)];
                    ASSERT_GE(g, 0);
                    EXPECT_EQ(seen[std::size_t(g)], -1) << "row " << i << ": columns " << seen[std::size_t(g)] << " and " << k;
                    seen[std::size_t(g)] = k;
                }
        }
    }
    std::vector<std::vector<int>> ladder(1000);
    for (int i = 0; i < 1000; ++i) {
        if (i > 0) ladder[std::size_t(i)].push_back(i - 1);
        if (i + 1 < 1000) ladder[std::size_t(i)].push_back(i + 1);
    }
    std::vector<int> group;
    EXPECT_EQ(ColourColumns(PatternFromRows(ladder), group), 3);
    // Only the marked columns are grouped.
    std::vector<char> only(1000, 0);
    only[10] = only[500] = 1;
    EXPECT_EQ(ColourColumns(PatternFromRows(ladder), group, &only), 1);
    EXPECT_EQ(group[10], 0);
    EXPECT_EQ(group[11], -1);
}

// A random circuit large enough for the sparse solver: a chain of nodes
// each held to ground through 10 kΩ, resistors, capacitors, inductances,
// diodes and switches between random nodes, fed from two sources.
void BuildLargeCircuit(Schematic& sheet, std::mt19937& rng, int nodes) {
    CircuitBuilder b(sheet);
    auto pick = [&rng](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    std::uniform_real_distribution<double> unit(0.5, 1.5);
    auto* gnd = b.Add("TGround", 20, 20);
    std::vector<TConnector*> node;
    for (int i = 0; i < nodes; ++i) {
        auto* leak = b.Add("TResistor", 100 + 120 * i, 20);
        P::Set(leak, "R", 1e4);
        if (i == 0) b.Wire(P::Pin(leak, "Connector2"), P::Pin(gnd, "Connector"));
        else b.WireToNode(P::Pin(leak, "Connector2"), P::Pin(gnd, "Connector"));
        node.push_back(P::Pin(leak, "Connector1"));
    }
    std::vector<char> wired(std::size_t(nodes), 0);
    auto attach = [&](TConnector* pin, int n) {
        if (n < 0) return b.WireToNode(pin, P::Pin(gnd, "Connector"));
        if (!wired[std::size_t(n)]) b.Wire(pin, node[std::size_t(n)]);
        else b.WireToNode(pin, node[std::size_t(n)]);
        wired[std::size_t(n)] = 1;
    };
    for (int s = 0; s < 2; ++s) {
        auto* vs = b.Add("TVoltageSource", 100 + 200 * s, 300);
        P::Set(vs, "E", 5.0 + 10.0 * s);
        attach(P::Pin(vs, "Plus"), pick(nodes));
        attach(P::Pin(vs, "Minus"), -1);
    }
    const char* kinds[] = {"TResistor", "TResistor", "TCapacitor", "TInductance", "TDiode"};
    for (int i = 0; i < 2 * nodes; ++i) {
        const char* kind = kinds[pick(5)];
        auto* e = b.Add(kind, 100 + 90 * i, 500 + 60 * (i % 5));
        // Values near the defaults; a diode keeps its consistent model.
        if (std::string(kind) != "TDiode")
            for (const auto& pv : e->ParamValues)
                if (ParamValue* v = e->FindParam(pv.Def->Name); v && v->Value > 0) v->Value *= unit(rng);
        int a = pick(nodes), c = pick(nodes + 1) - 1;
        if (a == c) c = -1;
        attach(e->FConnectors[0], a);
        attach(e->FConnectors[1], c);
    }
}

TEST(SparseEngine, RandomCircuitsWithDiodesMatchTheDenseAlgorithmOnTheSparseSolver) {
    RecordingMessages messages;
    for (unsigned seed = 1; seed <= 12; ++seed) {
        Schematic sheet;
        std::mt19937 rng(seed);
        BuildLargeCircuit(sheet, rng, 8 + int(seed));
        TRunSettings& m = sheet.RunSettings;
        m.T = 2e-4;
        m.h = 1e-5;
        m.GS = 2e-5;
        CompareWithOracle(sheet, "seed " + std::to_string(seed), {.SparseSolver = true});
        if (HasFatalFailure()) return;
    }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries[0].Text;
}

TEST(SparseEngine, ALargeCircuitChoosesTheSparseSolverAndMatchesTheDenseAlgorithm) {
    RecordingMessages messages;
    Schematic sheet;
    std::mt19937 rng(21);
    BuildLargeCircuit(sheet, rng, DenseSolverLimit + 2);
    TRunSettings& m = sheet.RunSettings;
    m.T = 2e-5;
    m.h = 1e-5;
    m.GS = 1e-5;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    ASSERT_GT(sheet.Run().NodeRows, DenseSolverLimit);
    CompareWithOracle(sheet, "automatic choice", {.SparseSolver = true});
}

TEST(SparseEngine, FloatingPartsOfALargeCircuitStayAtZero) {
    RecordingMessages messages;
    Schematic sheet;
    std::mt19937 rng(11);
    BuildLargeCircuit(sheet, rng, 80);
    // A capacitor between two nodes that nothing else touches, and a
    // current source that feeds nothing: their potentials are undetermined.
    CircuitBuilder b(sheet);
    auto* c = b.Add("TCapacitor", 4000, 4000);
    auto* r1 = b.Add("TResistor", 4200, 4000);
    b.Wire(P::Pin(c, "Connector2"), P::Pin(r1, "Connector1"));
    TRunSettings& m = sheet.RunSettings;
    m.T = 5e-5;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    const int floating = P::Pin(c, "Connector2")->FSimNode;
    ASSERT_GE(floating, 0);
    TRunOptions o;
    o.MaxIterations = 50;
    const TRunResult r = RunSimulation(context, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
    EXPECT_EQ(sheet.Run().Phi[std::size_t(floating)], 0.0);
}

TEST(SparseEngine, TheDumpOfALargeModelIsWrittenOnlyOnRequest) {
    RecordingMessages messages;
    TempDir dir;
    Schematic sheet;
    std::mt19937 rng(5);
    BuildLargeCircuit(sheet, rng, int(DebugDumpLimit) + 10);
    TRunContext context(sheet, dir.Path().string());
    ASSERT_TRUE(PrepareRun(context));
    const auto dump = dir.Path() / "debug.txt";
    EXPECT_FALSE(std::filesystem::exists(dump));
    const long unknowns = sheet.Run().NodeRows;
    const std::size_t branches = sheet.Run().Branches.size();
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"Файл debug.txt не записан: в модели " + std::to_string(unknowns) +
                                        " неизвестных и " + std::to_string(branches) +
                                        " ветвей, а без явного запроса он пишется не более чем для 400 "
                                        "неизвестных и 1000 ветвей."}));
    sheet.RunSettings.DumpLargeModels = true;
    ASSERT_TRUE(PrepareRun(context));
    EXPECT_TRUE(std::filesystem::exists(dump));
    EXPECT_GT(std::filesystem::file_size(dump), std::uintmax_t(unknowns) * std::uintmax_t(unknowns));
}

} // namespace

namespace {

// Every unknown a residual row reads lies in the pattern: perturb each
// unknown alone, at random potentials, and look which rows change.
TEST(SparseEngine, ThePatternHoldsEveryDependenceOfTheResidual) {
    RecordingMessages messages;
    for (unsigned seed = 1; seed <= 6; ++seed) {
        Schematic sheet;
        std::mt19937 rng(seed);
        BuildLargeCircuit(sheet, rng, 12 + int(seed));
        TRunContext context(sheet, "");
        ASSERT_TRUE(PrepareRun(context));
        TSimModel& m = *context.Model();
        TCompiledModel cm(sheet, m);
        std::vector<char> varying;
        const TSparsePattern p = cm.JacobianPattern(sheet, varying);
        std::uniform_real_distribution<double> volts(-5, 5);
        m.Phi.assign(std::size_t(cm.nNodes), 0.0);
        for (double& v : m.Phi) v = volts(rng);
        m.Time = 0;
        std::vector<double> xn(std::size_t(cm.nX), 0.0), Yd(std::size_t(cm.nDyn), 0.0), Ys(std::size_t(cm.nStat), 0.0);
        std::vector<double> F, Fp;
        TBaseElement* culprit = nullptr;
        ASSERT_TRUE(cm.Residual(xn, Yd, Ys, F, culprit));
        for (int k = 0; k < cm.Nz(); ++k) {
            double& x = k < cm.nDyn ? Yd[std::size_t(k)]
                        : k < cm.nDyn + cm.nStat ? Ys[std::size_t(k - cm.nDyn)]
                                                 : m.Phi[std::size_t(k - cm.nDyn - cm.nStat)];
            const double saved = x;
            x += 1e-3;
            ASSERT_TRUE(cm.Residual(xn, Yd, Ys, Fp, culprit));
            x = saved;
            for (int i = 0; i < cm.Nz(); ++i) {
                if (Fp[std::size_t(i)] != F[std::size_t(i)]) {
                    EXPECT_GE(p.Find(i, k), 0) << "seed " << seed << ": row " << i << " reads unknown " << k;
                }
            }
        }
        // Diodes make some columns vary within a step; resistors,
        // capacitors and inductances alone would not.
        EXPECT_NE(std::count(varying.begin(), varying.end(), 2), 0) << "seed " << seed;
        EXPECT_EQ(std::count(varying.begin(), varying.end(), 1), 0) << "seed " << seed;
    }
}

} // namespace
