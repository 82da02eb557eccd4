#pragma once

#include "model/TBaseElement.h"

// EMF in the circuit driven by the signal at its input.
class TControlledVoltage : public TBaseElement {
public:
    explicit TControlledVoltage(Schematic& sheet);
    ~TControlledVoltage() override;
};
