#pragma once

#include <utility>
#include <vector>

#include "Simulation/CircuitModel.h"
#include "blocks/Families.h"
#include "model/TBaseElement.h"

// Element classes for engine tests, independent of the real element modules.

// Order-2 linear block: A = [[0, 1], [-2, -3]], B = [0; 1], C = [1, 0], D = [0.5].
class TTestSecondOrder : public TDynamic {
public:
    explicit TTestSecondOrder(Schematic& sheet) : TDynamic(sheet) {}
    int GetOrder() override { return 2; }
    TMatrix GetA() override;
    TMatrix GetB() override;
    TMatrix GetC() override;
    TMatrix GetD() override;
    double GetInitialState(int i) override { return i == 0 ? 0.25 : -0.5; }
};

// Order-1 integrator-like block: x' = u, y = x, starting at "IC".
class TTestIntegrator : public TDynamic {
public:
    explicit TTestIntegrator(Schematic& sheet);
    int GetOrder() override { return 1; }
    TMatrix GetA() override;
    TMatrix GetB() override;
    TMatrix GetC() override;
    TMatrix GetD() override;
    double GetInitialState(int) override { return ParamOf("IC"); }
};

// Static block with three inputs: output = in0 + 10·in1 + 100·in2.
class TTestThreeInputs : public TStatic {
public:
    explicit TTestThreeInputs(Schematic& sheet) : TStatic(sheet) {}
    TValue GetOutput() override;
    double Weighted() { return InputValue(0) + 10 * InputValue(1) + 100 * InputValue(2); }
};

// Static gain with parameter "K" and constant source with parameter "K".
class TTestGain : public TStatic {
public:
    explicit TTestGain(Schematic& sheet);
    TValue GetOutput() override;
    double Out() { return ParamOf("K") * InputValue(0); }
};
class TTestConst : public TProducer {
public:
    explicit TTestConst(Schematic& sheet);
    TValue GetOutput() override;
    double Out() { return ParamOf("K"); }
};

// Plotter-like consumer.
class TTestProbe : public TConsumer {
public:
    explicit TTestProbe(Schematic& sheet) : TConsumer(sheet) {}
};

// Voltage sensor and controlled sources, joining the mediator registries.
class TTestSensor : public TBaseElement {
public:
    explicit TTestSensor(Schematic& sheet);
    ~TTestSensor() override;
};
class TTestCV : public TBaseElement {
public:
    explicit TTestCV(Schematic& sheet);
    ~TTestCV() override;
    const TBranchRecord* GetCircuitModel() const override;
};
class TTestCC : public TBaseElement {
public:
    explicit TTestCC(Schematic& sheet);
    ~TTestCC() override;
    const TBranchRecord* GetCircuitModel() const override;
};

// Three 1 S branches in series through two internal nodes.
class TTestInternal : public TBaseElement {
public:
    explicit TTestInternal(Schematic& sheet) : TBaseElement(sheet) {}
    const TBranchRecord* GetCircuitModel() const override;
};

// A current source whose current flips sign at every read: Newton's method
// never settles on it.
class TTestWobble : public TBaseElement {
public:
    explicit TTestWobble(Schematic& sheet) : TBaseElement(sheet) {}
    const TBranchRecord* GetCircuitModel() const override;
    double Current() { return (reads_++ % 2) ? 1.0 : -1.0; }

private:
    long reads_ = 0;
};

// A 1 S branch Connector1 → Connector2 whose EMF is α(t)·u + Beta·sin ωt,
// u = V(Connector2) − V(Connector1), α(t) = Alpha·(1 + Swing·sin ωt),
// ω = 2π·50: affine within a step, its slope stated as StatedGain·α(t);
// StrayNode ≥ 0 adds a slope to that model node, which the element's rows
// do not read.
class TTestAffine : public TBaseElement {
public:
    explicit TTestAffine(Schematic& sheet) : TBaseElement(sheet) {}
    const TBranchRecord* GetCircuitModel() const override;
    void DeclareLiveReads(TLiveReads& reads) const override;
    double Conductance() { return 1.0; }
    double Emf();
    int Slopes(TNodeSlope* out);

    double AlphaAt(double t) const;
    double Alpha = 0.5, Swing = 0.5, StatedGain = 1.0, Beta = 0.001;
    int StrayNode = -1;

    // Records each BeginStep's model time and V(Connector1), and whether
    // the EMF was read at a model time no BeginStep had begun.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;
    void ResetState() override;
    std::vector<std::pair<double, double>> Begun;
    bool ReadBeforeBegin = false;
};

// A constant 1 whose value throws once the model time reaches "At":
// std::bad_alloc when "Kind" is 0, otherwise std::runtime_error("проба").
class TTestThrowing : public TProducer {
public:
    explicit TTestThrowing(Schematic& sheet);
    TValue GetOutput() override;
    double Out();
};

// A block with two outputs, to exercise output numbers in files.
class TTestTwoOutputs : public TProducer {
public:
    explicit TTestTwoOutputs(Schematic& sheet) : TProducer(sheet) {}
    TValue GetOutput() override { return 3.0; }
};
