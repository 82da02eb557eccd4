#pragma once

#include "blocks/Families.h"

// Rotary transformer: four windings, its rotor angle given by the signal input.
class TPovTr : public TConsumer {
public:
    explicit TPovTr(Schematic& sheet);
};
