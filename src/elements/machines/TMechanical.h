#pragma once

#include "model/TBaseElement.h"

// Electromechanical block: a DC motor with a tachogenerator on its shaft.
class TMechanical : public TBaseElement {
public:
    explicit TMechanical(Schematic& sheet);
};
