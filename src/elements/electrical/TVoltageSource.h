#pragma once

#include "model/TBaseElement.h"

// EMF "E" in series with its internal resistance "Rвн", driving current out of Plus.
class TVoltageSource : public TBaseElement {
public:
    explicit TVoltageSource(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override { return RequirePositive("Rвн"); }
};
