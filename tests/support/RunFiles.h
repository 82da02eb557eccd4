#pragma once

#include <string>
#include <vector>

#include "Simulation/RunSimulation.h"

class Schematic;

// One row of "graf.dat": the time, then every solved quantity and the
// consumer inputs, as written.
struct TGrafRow {
    double Time = 0;
    std::vector<double> Values;    // Yd, Ys, Phi
    std::vector<double> Consumers; // after the four-space gap
};

// Reads "graf.dat"; empty when the file is missing.
std::vector<TGrafRow> ReadGrafRows(const std::string& path);

// Prepares and runs the schematic with its result files in `dir`; a run that
// cannot start comes back with Steps = -1.
TRunResult RunInto(Schematic& sheet, const std::string& dir);
