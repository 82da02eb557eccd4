#pragma once

#include "model/TBaseElement.h"

// EMF in the circuit driven by the signal at its input, behind the internal
// resistance "Rвн": with no load the voltage from Minus to Plus equals the
// input signal.
class TControlledVoltage : public TBaseElement {
public:
    explicit TControlledVoltage(Schematic& sheet);
    ~TControlledVoltage() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;
    double Conductance() { return 1.0 / ParamOf("Rвн"); }
};
