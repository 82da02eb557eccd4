#pragma once

#include <string>
#include <vector>

class Schematic;

// One line of "graf.dat" split into the time, the solved quantities
// (dynamic-block outputs, static-block outputs, node potentials) and the
// consumer inputs.
struct GrafRow {
    double Time = 0;
    std::vector<double> Values;
    std::vector<double> Consumers;
};

// The table with the last `consumers` numbers of each line as consumer inputs.
std::vector<GrafRow> ReadGrafRows(const std::string& path, int consumers);

// Prepares and runs the schematic with its own settings, the result files
// going into `dir`, and reads "graf.dat" back. Empty when the run could not
// start or did not finish.
std::vector<GrafRow> RunAndRead(Schematic& sheet, const std::string& dir);

// The row whose time is nearest to t.
const GrafRow& RowAt(const std::vector<GrafRow>& rows, double t);
