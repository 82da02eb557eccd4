#pragma once

#include <limits>
#include <vector>

#include "Simulation/SparsePattern.h"
#include "Simulation/TValue.h"

class TSimModel;
class Schematic;
class TBaseElement;

// The assembled matrices turned, once per run, into compact index
// structures: one residual evaluation then costs time proportional to the
// branches plus the blocks, while every live value is still read at every
// evaluation. The layout follows the unknown vector z = [Yd; Ys; Phi].
//
// Sums are formed in the order the dense matrix products form them, term by
// term, so that the residual is the same number to the last bit: the
// Jacobian is a forward difference with an absolute step, which magnifies
// any rounding difference by 1/pr.
class TCompiledModel {
public:
    TCompiledModel(const Schematic& sheet, TSimModel& model);

    int nDyn = 0, nStat = 0, nNodes = 0, nX = 0, nCons = 0, nSI = 0, nCV = 0, nCC = 0;
    int Nz() const { return nDyn + nStat + nNodes; }

    // One explicit Euler step of the block states from the last solution:
    // xn = Xk + h·(A·Xk + B·u(previous outputs)).
    void AdvanceStates(const std::vector<double>& Xk, std::vector<double>& xn, double h,
                       const std::vector<double>& Yd, const std::vector<double>& Ys);

    // F(z) for the present Yd, Ys and the model's Phi; also refreshes the
    // model's static inputs. Returns false when a value is not finite, with
    // `culprit` set to the element whose value it was (or null).
    bool Residual(const std::vector<double>& xn, const std::vector<double>& Yd,
                  const std::vector<double>& Ys, std::vector<double>& F, TBaseElement*& culprit);

    // Which unknowns each residual row can read, from the couplings, the
    // branches and what each element declares its live values read; and how
    // often each column's derivatives can change: 2 within a step, 1 from
    // one step to the next, 0 never.
    // With `formedColumns`, also marks the columns of level 1 whose every
    // change from step to step StepDerivatives forms (conductances and
    // affine EMFs with stated slopes): those need no differencing after
    // the first.
    TSparsePattern JacobianPattern(const Schematic& sheet, std::vector<char>& varyingColumns,
                                   std::vector<char>* formedColumns = nullptr) const;

    // Adds to S, at the entries of `pattern` (Jacobian of this model), what
    // the branches with a conductance read once a step or an EMF with stated
    // slopes contribute, at the values of the last evaluation: for branch b,
    // node row i and node n, Z(i,b)·g_b·(∂E_b/∂φ_n − Z(n,b)). False when an
    // element states a slope to a node its row cannot read.
    bool StepDerivatives(const TSparsePattern& pattern, std::vector<double>& S);

    // Consumer inputs for the present solution.
    void ConsumerInputs(const std::vector<double>& Yd, const std::vector<double>& Ys,
                        std::vector<double>& out);
    // Every signal source for the present solution, in the order of
    // `TSignalSource` kinds: producers, sensors, dynamic and static blocks.
    void SourceValues(const std::vector<double>& Yd, const std::vector<double>& Ys,
                      std::vector<double>& out);

private:
    // A signal read from the solved quantities: a sum of coefficient times source.
    struct Term {
        int kind;  // 0 producer, 1 sensor, 2 dynamic, 3 static
        int index;
        double coeff;
    };
    struct Coupling {
        int first = 0;  // range in terms_
        int count = 0;
    };
    struct Entry {
        int index;
        TValue value;
    };
    struct Row {
        int first = 0;  // range in entries_
        int count = 0;
    };
    struct Branch {
        int nodeA = -1, nodeB = -1;  // rows of Z with their incidences
        double coefA = 0, coefB = 0;
        TValue g, E, J;
        int control = -1;            // index into the control values, or -1
        TBaseElement* owner = nullptr;
        // Slots of the nodal matrix Z·g·Zᵀ this branch adds to, with the
        // sign of Z(row, b)·Z(column, b).
        int slots[4] = {-1, -1, -1, -1};
        double signs[4] = {0, 0, 0, 0};
    };
    // One row of the dynamic part: rd = C·xn + D·Hc·Ys + (D·Hd − I)·Yd +
    // D·G·Un + D·Ge·Mf·Phi, each product reduced to the entries it really has.
    struct DynamicRow {
        double d = 0;                 // D(i, i)
        int staticSource = -1;        // Hc
        int producerSource = -1;      // G
        std::vector<std::pair<int, double>> ydTerms;   // (D·Hd − I)(i, k)
        std::vector<std::pair<int, double>> phiTerms;  // (D·Ge·Mf)(i, n)
    };
    struct NodeSlot {
        int column;
        int slot;
    };

    Coupling AddCoupling(const class TMatrix& producer, const class TMatrix& sensor,
                         const class TMatrix& dynamic, const class TMatrix& statics, int row);
    Row AddRow(const class TMatrix& m, int row);
    double RowTimes(const Row& r, const std::vector<double>& v) const;
    double Source(const Term& t, const std::vector<double>& Yd, const std::vector<double>& Ys);
    double Signal(const Coupling& c, const std::vector<double>& Yd, const std::vector<double>& Ys);
    double SensorValue(int j);
    std::vector<int> LiveColumns(const Schematic& sheet, const TBaseElement* e) const;
    void SensorColumns(int sensor, std::vector<int>& cols) const;

    TSimModel& model_;
    std::vector<Term> terms_;
    std::vector<Entry> entries_;
    std::vector<Row> aRows_, bRows_, cRows_, sensorRows_;
    std::vector<Coupling> dynInputs_, staticInputs_, consumerInputs_, controls_;
    std::vector<double> u_;  // dynamic-block inputs of the state step
    std::vector<TValue> producers_, statics_;
    std::vector<TBaseElement*> staticOwners_, producerOwners_;
    std::vector<Branch> branches_;
    std::vector<double> controlValues_;
    std::vector<DynamicRow> dynamicRows_;
    // Nodal matrix: its slots, and for each node its (column, slot) pairs in
    // column order and its branches in branch order.
    std::vector<double> nodal_;
    std::vector<std::vector<NodeSlot>> nodeSlots_;
    std::vector<std::vector<int>> nodeBranches_;
    std::vector<double> branchG_, branchA_;  // g and g·E − J of the evaluation
    // Branches with a value that varies within a step or a controlled
    // source, read at every evaluation; the rest at a step's first.
    std::vector<int> liveBranches_;
    // Branches StepDerivatives forms: a conductance read once a step or an
    // EMF with stated slopes.
    std::vector<int> stepBranches_;
    TNodeSlope slopes_[TNodeSlope::Max];
    // Per step branch, the Jacobian entries of its last stated slopes: the
    // nodes come in the same order at every step, so the entries are
    // looked up again only when they change.
    struct SlopeEntries {
        std::vector<int> nodes;
        std::vector<int> entries;  // two per node: the rows of node A and node B
        int nodal[4] = {-2, -2, -2, -2};
        double nodalSign[4] = {0, 0, 0, 0};
    };
    std::vector<SlopeEntries> slopeEntries_;
    const TSparsePattern* slopePattern_ = nullptr;
    bool allConductancesFixed_ = true;
    double stepTime_ = std::numeric_limits<double>::quiet_NaN();
    void EvaluateBranch(std::size_t b, bool addToNodal, bool& finite, TBaseElement*& culprit);
};
