#pragma once

#include "model/TBaseElement.h"

// Diode optocoupler.
class TOptoPair : public TBaseElement {
public:
    explicit TOptoPair(Schematic& sheet);
};
