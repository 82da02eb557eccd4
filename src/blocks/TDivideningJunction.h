#pragma once

#include "blocks/Families.h"

// The upper input divided by the lower one.
class TDivideningJunction : public TStatic {
public:
    explicit TDivideningJunction(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
