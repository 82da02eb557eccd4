#pragma once

#include "model/TBaseElement.h"

// Capacitor, a backward-Euler companion branch in the circuit.
class TCapacitor : public TBaseElement {
public:
    explicit TCapacitor(Schematic& sheet);
};
