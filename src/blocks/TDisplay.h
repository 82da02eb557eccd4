#pragma once

#include "blocks/Families.h"

// Marks its input signal for recording; shows the caption "Дисплей".
class TDisplay : public TConsumer {
public:
    explicit TDisplay(Schematic& sheet);
};
