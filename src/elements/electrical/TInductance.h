#pragma once

#include "model/TBaseElement.h"

// Inductance, a backward-Euler companion branch in the circuit.
class TInductance : public TBaseElement {
public:
    explicit TInductance(Schematic& sheet);
};
