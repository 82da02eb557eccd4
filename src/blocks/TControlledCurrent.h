#pragma once

#include "model/TBaseElement.h"

// Current source in the circuit driven by the signal at its input.
class TControlledCurrent : public TBaseElement {
public:
    explicit TControlledCurrent(Schematic& sheet);
    ~TControlledCurrent() override;
};
