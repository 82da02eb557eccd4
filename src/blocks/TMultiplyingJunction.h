#pragma once

#include "blocks/Families.h"

// Product of all inputs; inputs can be added and deleted.
class TMultiplyingJunction : public TStatic {
public:
    explicit TMultiplyingJunction(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
