#pragma once

#include "model/TBaseElement.h"

// Voltage sensor: the potential difference between its pins as a signal.
class TVoltageSummator : public TBaseElement {
public:
    explicit TVoltageSummator(Schematic& sheet);
    ~TVoltageSummator() override;
    std::string OutputQuantity() const override { return "напряжение, В"; }
};
