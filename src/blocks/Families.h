#pragma once

#include "Simulation/SimModel.h"
#include "Simulation/TMatrix.h"
#include "Simulation/TValue.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"

class TInfoInput;
class TInfoOutput;

// The four block families. Each instance joins its family registry on
// construction and leaves it on destruction; the registry position is the
// block's matrix index in the assembled model.

// One output, no input: a function of model time (or of circuit quantities).
class TProducer : public TBaseElement {
public:
    explicit TProducer(Schematic& sheet);
    ~TProducer() override;
    virtual TValue GetOutput() = 0;
    TInfoOutput* Output = nullptr;
    void Loaded() override;
};

// One output and one or more inputs: an algebraic function of the inputs.
class TStatic : public TBaseElement {
public:
    explicit TStatic(Schematic& sheet);
    ~TStatic() override;
    virtual TValue GetOutput() = 0;
    TInfoOutput* Output = nullptr;
    TInfoInput* Input = nullptr;
    // Index of the first input in the engine's static-input vector.
    int FInputBase = 0;
    // Present value of input j during a run.
    double InputValue(int j) const {
        return Sheet().Run().StaticInputs[std::size_t(FInputBase + j)];
    }
    void Loaded() override;
};

// One input, one output: the linear system x' = A x + B u, y = C x + D u.
class TDynamic : public TBaseElement {
public:
    explicit TDynamic(Schematic& sheet);
    ~TDynamic() override;
    virtual int GetOrder() { return 0; }
    virtual TMatrix GetA() { return {}; }
    virtual TMatrix GetB() { return {}; }
    virtual TMatrix GetC() { return {}; }
    virtual TMatrix GetD() { return {}; }
    virtual double GetInitialState(int i) {
        (void)i;
        return 0.0;
    }
    TInfoOutput* Output = nullptr;
    TInfoInput* Input = nullptr;
    void Loaded() override;
};

// One input, no output: its input is recorded at every sample.
class TConsumer : public TBaseElement {
public:
    explicit TConsumer(Schematic& sheet);
    ~TConsumer() override;
    TInfoInput* Input = nullptr;
    void Loaded() override;
    // During a run: the input of the last solved step (the starting values
    // before the first), for consumers whose input sets a parameter of
    // their circuit model (they say so with ReadsInputEveryStep); 0 when the
    // run has not begun.
    double LastInput() const;
    // The time loop keeps the consumer inputs after every step only when
    // some consumer asks for it; otherwise it forms them for the samples.
    virtual bool ReadsInputEveryStep() const { return false; }
};
