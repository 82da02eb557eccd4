#pragma once

#include "model/TBaseElement.h"

// Accumulator: an EMF that rises while charged and falls while discharged in
// proportion to the voltage across its internal resistance. One internal
// node joins the EMF branch and the resistance.
class TBattery : public TBaseElement {
public:
    explicit TBattery(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override { return RequirePositive("Rвн"); }
    void ResetState() override;
    void Loaded() override;

    double FLastTime = -1.0;
    double FEmf = 0.0;
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;
    double Emf() { return FEmf; }

private:
    TConnector* plus_ = nullptr;
};
