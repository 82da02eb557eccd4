#pragma once

#include "blocks/Families.h"

// Integrator with an initial condition.
class TIntegrator : public TDynamic {
public:
    explicit TIntegrator(Schematic& sheet);
};
