#pragma once

#include "blocks/Families.h"

// Separately excited DC motor: armature and field winding.
class TVarMotor : public TProducer {
public:
    explicit TVarMotor(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
