#pragma once

#include "model/TBaseElement.h"

// Linear resistor.
class TResistor : public TBaseElement {
public:
    explicit TResistor(Schematic& sheet);
};
