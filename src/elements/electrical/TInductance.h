#pragma once

#include "model/TBaseElement.h"

// Inductance in backward-Euler companion form: conductance h/L and a current
// source holding the negated current of the previous step.
class TInductance : public TBaseElement {
public:
    explicit TInductance(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override { return RequirePositive("L"); }
    void ResetState() override;
    void Loaded() override;

    double FLastTime = -1.0;
    double FSource = 0.0;
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;
    double Source() { return FSource; }

private:
    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
};
