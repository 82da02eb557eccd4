#pragma once

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
    bool CheckBeforeRun() override;
    void Loaded() override;

    // Branch values of the three stator windings and the output; each
    // advances the machine on the first request of a step.
    template <int Phase> double Conductance() {
        Update();
        return Machine.G[Phase];
    }
    template <int Phase> double Emf() {
        Update();
        return Machine.E[Phase];
    }
    template <int Phase> double Source() {
        Update();
        return Machine.Jsrc[Phase];
    }
    double Output();

    int Choice = 0;
    Induction::TThreePhase Machine;
    LoadTorque::TModel Load;

private:
    void Update();

    TConnector* pins_[3] = {};
};
