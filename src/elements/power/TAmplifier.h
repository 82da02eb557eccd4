#pragma once

#include "model/TBaseElement.h"

// Operational amplifier: an input resistance and a controlled output source.
class TAmplifier : public TBaseElement {
public:
    explicit TAmplifier(Schematic& sheet);
};
