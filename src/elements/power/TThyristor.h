#pragma once

#include "model/TBaseElement.h"

// Thyristor: anode, cathode and control electrode.
class TThyristor : public TBaseElement {
public:
    explicit TThyristor(Schematic& sheet);
};
