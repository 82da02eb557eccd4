#pragma once

#include "model/TBaseElement.h"

// The chassis: its one pin ties a node to the reference net "GND".
class TGround : public TBaseElement {
public:
    explicit TGround(Schematic& sheet);
};
