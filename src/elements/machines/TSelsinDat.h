#pragma once

#include "blocks/Families.h"

// Selsyn transmitter: its rotor angle is given by the signal input.
class TSelsinDat : public TConsumer {
public:
    explicit TSelsinDat(Schematic& sheet);
};
