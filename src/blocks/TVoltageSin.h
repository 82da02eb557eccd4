#pragma once

#include "model/TBaseElement.h"

// Sinusoidal EMF behind an internal resistance.
class TVoltageSin : public TBaseElement {
public:
    explicit TVoltageSin(Schematic& sheet);
};
