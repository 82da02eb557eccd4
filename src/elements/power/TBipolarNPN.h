#pragma once

#include "elements/power/TTransistor.h"

// N-P-N bipolar transistor: the transistor model with its own device database.
class TBipolarNPN : public TTransistor {
public:
    explicit TBipolarNPN(Schematic& sheet);
};
