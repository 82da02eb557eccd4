#pragma once

#include "model/TBaseElement.h"

// Photovoltaic converter: a current source with an internal resistance.
class TSolarBattery : public TBaseElement {
public:
    explicit TSolarBattery(Schematic& sheet);
};
