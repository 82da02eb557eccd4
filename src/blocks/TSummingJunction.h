#pragma once

#include "blocks/Families.h"

// Sum of all inputs; inputs can be added and deleted.
class TSummingJunction : public TStatic {
public:
    explicit TSummingJunction(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
