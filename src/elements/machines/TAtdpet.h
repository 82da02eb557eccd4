#pragma once

#include "elements/machines/TAtd.h"

// Three-phase induction motor with the rotor windings brought out to the
// pins Connector_rA, Connector_rB, Connector_rC (slip rings), star-connected
// to the same star point as the stator windings.
class TAtdpet : public TAtd {
public:
    explicit TAtdpet(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
};
