#pragma once

#include "model/TBaseElement.h"

// Current source in the circuit driven by the signal at its input: it pushes
// the input value, in amperes, out of Plus through the outer circuit.
class TControlledCurrent : public TBaseElement {
public:
    explicit TControlledCurrent(Schematic& sheet);
    ~TControlledCurrent() override;
    const TBranchRecord* GetCircuitModel() const override;
};
