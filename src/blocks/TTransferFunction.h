#pragma once

#include "blocks/Families.h"

// Linear block given by its transfer function K * Num(s) / Den(s).
class TTransferFunction : public TDynamic {
public:
    explicit TTransferFunction(Schematic& sheet);
};
