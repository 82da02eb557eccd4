#pragma once

#include "model/TBaseElement.h"

// Diode optocoupler: placed, wired and parameterised, without a circuit
// model.
class TOptoPair : public TBaseElement {
public:
    explicit TOptoPair(Schematic& sheet);

    // Warns that the element takes no part in the run.
    bool CheckBeforeRun() override;
};

// The warning of an element without a circuit model, once per run.
void WarnNotSimulated(const TBaseElement& element);
