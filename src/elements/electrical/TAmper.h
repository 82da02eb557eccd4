#pragma once

#include "blocks/Families.h"

// Current sensor: an ammeter branch of the circuit whose current is a signal.
class TAmper : public TProducer {
public:
    explicit TAmper(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
