#pragma once

#include <string>

class Schematic;
class TBaseElement;
class TInfoInput;

// Turns the schematic into the labelled matrices of its TSimModel, numbers
// the nodes (every pin learns its equation index for the run) and writes the
// debug dump "debug.txt" into `dumpDir` (skipped silently when it cannot be
// written; an empty `dumpDir` skips it). Every element's ResetState must have
// run before.
//
// Reference node: when a ground pin (net "GND") is wired, every node such a
// pin sits on is the reference node (potential 0, no row); the listed nodes
// that would be numbered past the end take the places they free, so every
// other node keeps its number. Without a wired ground the highest-numbered
// node is the reference.
void BuildModel(Schematic& sheet, const std::string& dumpDir = ".");

// Where a signal input takes its value from, tested in this order.
struct TSignalSource {
    enum Kind { None, Producer, Sensor, Dynamic, Static } Type = None;
    int Index = -1;  // position in the family's registry
};
TSignalSource ClassifySource(const Schematic& sheet, const TInfoInput* input);

// Above this many unknowns "debug.txt" is written only on request
// (TSimModel::DumpLargeModels): its matrices are dense.
constexpr long DebugDumpLimit = 400;

// The dense incidence (nodes × branches) and diagonal conductance matrices
// of the branch list, for the dump and for tests on small circuits.
class TMatrix;
class TSimModel;
TMatrix IncidenceMatrix(const TSimModel& model);
TMatrix ConductanceMatrix(const TSimModel& model);

// Writes the dump of the present model to a file; false when it cannot be opened.
bool WriteDebugDump(const Schematic& sheet, const std::string& path);
