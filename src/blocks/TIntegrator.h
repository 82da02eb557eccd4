#pragma once

#include "blocks/Families.h"

// Integrator 1/s with an initial condition.
class TIntegrator : public TDynamic {
public:
    explicit TIntegrator(Schematic& sheet);
    int GetOrder() override { return 1; }
    TMatrix GetA() override;
    TMatrix GetB() override;
    TMatrix GetC() override;
    TMatrix GetD() override;
    double GetInitialState(int i) override;
};
