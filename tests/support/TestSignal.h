#pragma once

#include <functional>

#include "blocks/Families.h"

// A producer whose output is any function of the model time, for driving
// blocks through a run without the generator classes.
class TTestSignal : public TProducer {
public:
    explicit TTestSignal(Schematic& sheet);
    std::function<double(double)> Of = [](double) { return 0.0; };
    TValue GetOutput() override;
    double OutputValue() { return Of(Sheet().Run().Time); }
};

// Creates a test signal at (left, top) on the sheet.
TTestSignal* PlaceTestSignal(Schematic& sheet, std::function<double(double)> of, int left = 40,
                             int top = 40);
