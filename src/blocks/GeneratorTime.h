#pragma once

#include <cmath>

#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"

// What the generator getters share.

inline double ModelTime(const TBaseElement& e) {
    return e.Sheet().Run().Time;
}

// The fraction of the present period elapsed at time t, from splitting t / T
// into its whole and fractional parts.
inline double PeriodFraction(double t, double period) {
    double whole = 0;
    return std::modf(t / period, &whole);
}
