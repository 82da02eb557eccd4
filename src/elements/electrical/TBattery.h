#pragma once

#include "model/TBaseElement.h"

// Storage battery: an EMF that follows its charge and discharge.
class TBattery : public TBaseElement {
public:
    explicit TBattery(Schematic& sheet);
};
