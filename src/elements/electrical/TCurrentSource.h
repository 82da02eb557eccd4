#pragma once

#include "model/TBaseElement.h"

// Ideal current source pushing "I" out of Plus.
class TCurrentSource : public TBaseElement {
public:
    explicit TCurrentSource(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
};
