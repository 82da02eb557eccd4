#pragma once

#include "blocks/Families.h"

// Proportional block: output = K * input.
class TGain : public TStatic {
public:
    explicit TGain(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
