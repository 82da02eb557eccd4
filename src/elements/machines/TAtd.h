#pragma once

#include "Simulation/CircuitModel.h"
#include "blocks/Families.h"
#include "elements/machines/InductionMachine.h"

class TConnector;

// Three-phase squirrel-cage induction motor in phase coordinates, with its
// shaft load; the output is a quantity chosen by vv.
class TAtd : public TProducer {
public:
    explicit TAtd(Schematic& sheet);
    TValue GetOutput() override;
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    // Branch values of the three stator windings and the output, of the
    // step BeginStep began.
    // Phases 0–2 are the stator windings a, b, c, 3–5 the rotor windings.
    template <int Phase> double Conductance() {
        return Machine.G[Phase];
    }
    template <int Phase> double Emf() {
        return Machine.E[Phase];
    }
    template <int Phase> double Source() {
        return Machine.Jsrc[Phase];
    }
    double Output();

    // The branch star point → pin of one winding.
    template <int Phase> static constexpr TBranchRecord Winding(const char* pin) {
        return {InternalNode(0), PinTerminal(pin),
                StepValue(&MemberGetter<TAtd, &TAtd::Conductance<Phase>>),
                StepValue(&MemberGetter<TAtd, &TAtd::Emf<Phase>>),
                StepValue(&MemberGetter<TAtd, &TAtd::Source<Phase>>)};
    }

    int Choice = 0;
    Induction::TThreePhase Machine;
    LoadTorque::TModel Load;

protected:
    // The wound-rotor motor brings its rotor windings out to these pins.
    bool woundRotor_ = false;

private:
    void Update();

    TConnector* pins_[3] = {};
    TConnector* rotorPins_[3] = {};
};
