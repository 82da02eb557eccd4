#pragma once

#include "blocks/Families.h"

// Constant signal.
class TConst : public TProducer {
public:
    explicit TConst(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
