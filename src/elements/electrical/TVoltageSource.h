#pragma once

#include "model/TBaseElement.h"

// Constant EMF behind an internal resistance.
class TVoltageSource : public TBaseElement {
public:
    explicit TVoltageSource(Schematic& sheet);
};
