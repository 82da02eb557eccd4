#pragma once

#include "model/TBaseElement.h"

// A gauge for the parameter dialog's tests: a single-unit row, a row
// without units, and model rows without model methods or database. Its
// model row "Kelvin" is the temperature times the factor.
class TTestGauge : public TBaseElement {
public:
    explicit TTestGauge(Schematic& sheet);
    bool CalcModelParams() override;
};
