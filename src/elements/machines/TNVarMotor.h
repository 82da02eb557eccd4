#pragma once

#include "blocks/Families.h"

// Separately excited DC motor with a saturating magnetic circuit and armature reaction.
class TNVarMotor : public TProducer {
public:
    explicit TNVarMotor(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
