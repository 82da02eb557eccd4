#pragma once

#include "model/TBaseElement.h"

// Cable with connector: placed, wired and parameterised, without a circuit
// model.
class TCable : public TBaseElement {
public:
    explicit TCable(Schematic& sheet);

    // Warns that the element takes no part in the run.
    bool CheckBeforeRun() override;
};
