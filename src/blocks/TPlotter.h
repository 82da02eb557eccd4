#pragma once

#include "blocks/Families.h"

// Marks its input signal for the graph viewer.
class TPlotter : public TConsumer {
public:
    explicit TPlotter(Schematic& sheet);
};
