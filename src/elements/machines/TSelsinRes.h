#pragma once

#include "blocks/Families.h"

// Selsyn receiver with its own shaft and load; the output is a shaft quantity.
class TSelsinRes : public TProducer {
public:
    explicit TSelsinRes(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
