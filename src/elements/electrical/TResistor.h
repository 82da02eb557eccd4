#pragma once

#include "model/TBaseElement.h"

// Linear resistor: one branch of conductance 1/R.
class TResistor : public TBaseElement {
public:
    explicit TResistor(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override { return RequirePositive("R"); }
};
