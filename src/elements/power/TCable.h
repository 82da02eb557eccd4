#pragma once

#include "model/TBaseElement.h"

// Cable with connector.
class TCable : public TBaseElement {
public:
    explicit TCable(Schematic& sheet);
};
