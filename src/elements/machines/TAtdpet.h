#pragma once

#include "blocks/Families.h"

// Three-phase induction motor with the rotor windings brought out.
class TAtdpet : public TProducer {
public:
    explicit TAtdpet(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
