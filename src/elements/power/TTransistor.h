#pragma once

#include "model/TBaseElement.h"

// Bipolar transistor: two junction diodes and a controlled current source.
class TTransistor : public TBaseElement {
public:
    explicit TTransistor(Schematic& sheet);
};
