#pragma once

#include "model/TBaseElement.h"

// Photovoltaic cell: current source "I" with the conductance 1/"Rвн" in parallel.
class TSolarBattery : public TBaseElement {
public:
    explicit TSolarBattery(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override { return RequirePositive("Rвн"); }
};
