#pragma once

#include "model/TBaseElement.h"

// Semiconductor diode.
class TDiode : public TBaseElement {
public:
    explicit TDiode(Schematic& sheet);
};
