#pragma once

#include "model/TBaseElement.h"

// Voltage-to-frequency converter: six gate-pulse channels for a three-phase bridge.
class TTvf : public TBaseElement {
public:
    explicit TTvf(Schematic& sheet);
};
