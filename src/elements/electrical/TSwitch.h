#pragma once

#include "model/TBaseElement.h"

// Ideal electronic switch with a resistive control input.
class TSwitch : public TBaseElement {
public:
    explicit TSwitch(Schematic& sheet);
};
