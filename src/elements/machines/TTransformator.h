#pragma once

#include "model/TBaseElement.h"

// Two-winding transformer with core loss and leakage.
class TTransformator : public TBaseElement {
public:
    explicit TTransformator(Schematic& sheet);
};
