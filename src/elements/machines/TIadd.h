#pragma once

#include "blocks/Families.h"

// Two-phase asynchronous servo motor.
class TIadd : public TProducer {
public:
    explicit TIadd(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
