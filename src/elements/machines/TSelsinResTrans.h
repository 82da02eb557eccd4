#pragma once

#include "blocks/Families.h"

// Selsyn in transformer mode: its rotor angle is given by the signal input.
class TSelsinResTrans : public TConsumer {
public:
    explicit TSelsinResTrans(Schematic& sheet);
};
