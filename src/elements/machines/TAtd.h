#pragma once

#include "blocks/Families.h"

// Three-phase squirrel-cage induction motor.
class TAtd : public TProducer {
public:
    explicit TAtd(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
