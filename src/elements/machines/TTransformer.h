#pragma once

#include "model/TBaseElement.h"

// Two-winding transformer without saturation and hysteresis.
class TTransformer : public TBaseElement {
public:
    explicit TTransformer(Schematic& sheet);
};
