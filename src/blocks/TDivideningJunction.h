#pragma once

#include "blocks/Families.h"

// The upper input divided by the lower one plus 0.001; always two inputs.
class TDivideningJunction : public TStatic {
public:
    explicit TDivideningJunction(Schematic& sheet);
    TValue GetOutput() override;
    double OutputValue();
};
