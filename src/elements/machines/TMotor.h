#pragma once

#include "blocks/Families.h"

// DC motor with permanent magnets and its shaft load; the output is a shaft quantity.
class TMotor : public TProducer {
public:
    explicit TMotor(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
