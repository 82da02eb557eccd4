#pragma once

#include "model/TBaseElement.h"

// Constant current source.
class TCurrentSource : public TBaseElement {
public:
    explicit TCurrentSource(Schematic& sheet);
};
