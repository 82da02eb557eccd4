#pragma once

#include "model/TBaseElement.h"

// Autonomous voltage inverter: a voltage-controlled three-phase source.
class TAin : public TBaseElement {
public:
    explicit TAin(Schematic& sheet);
};
