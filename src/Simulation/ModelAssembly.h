#pragma once

#include <cstdint>
#include <memory>
#include <string>

class Schematic;
class TBaseElement;
class TInfoInput;
class TInfoOutput;
class TSimModel;

// Turns the schematic into the labelled matrices of a new TSimModel, with
// the schematic's run settings copied into it, and numbers the nodes (every
// pin learns its equation index for the run). Every element's ResetState
// must have run before.
//
// Reference node: when a ground pin (net "GND") is wired, every node such a
// pin sits on is the reference node (potential 0, no row); the listed nodes
// that would be numbered past the end take the places they free, so every
// other node keeps its number. Without a wired ground the highest-numbered
// node is the reference.
std::unique_ptr<TSimModel> BuildModel(Schematic& sheet);

// Writes the debug dump "debug.txt" of an assembled model into `dumpDir`
// (skipped silently when it cannot be written; an empty `dumpDir` skips it).
// Its values are read live, so the schematic must be bound to the model.
void WriteModelDump(const Schematic& sheet, const TSimModel& model, const std::string& dumpDir);

// The dimensions model assembly gives a schematic, counted without
// assembling it: sizes of every family, of the state vector, of the static
// inputs, and the node and branch counts.
struct TModelSize {
    std::int64_t nProd = 0, nVS = 0, nDyn = 0, nStat = 0, nCons = 0, nCV = 0, nCC = 0;
    std::int64_t nSI = 0, nX = 0, nNodes = 0, nBr = 0;
    std::int64_t Nz() const { return nDyn + nStat + nNodes; }
};
TModelSize CountModel(const Schematic& sheet);

// Values in the dense matrices of assembly (the block couplings, the state
// space, the sensors) for a model of that size.
double DenseMatrixValues(const TModelSize& size);
// Bytes a run of a model of that size needs: those matrices, the branch
// list and the time loop's Jacobian with its factors.
double ModelBytes(const TModelSize& size);

// Where a signal input takes its value from, tested in this order.
struct TSignalSource {
    enum Kind { None, Producer, Sensor, Dynamic, Static } Type = None;
    int Index = -1;  // position in the family's registry
};
TSignalSource ClassifySource(const Schematic& sheet, const TInfoInput* input);
TSignalSource ClassifyOutput(const Schematic& sheet, const TInfoOutput* output);
// The source's place in `TSimModel::SourceSnapshot`, or -1.
int SourceSlot(const Schematic& sheet, const TSignalSource& source);

// Above this many unknowns or branches "debug.txt" is written only on
// request (TRunSettings::DumpLargeModels): its matrices are dense, the
// conductance matrix alone branches × branches.
constexpr long DebugDumpLimit = 400;
constexpr long DebugDumpBranchLimit = 1000;

// The dense incidence (nodes × branches) and diagonal conductance matrices
// of the branch list, for tests on small circuits.
class TMatrix;
TMatrix IncidenceMatrix(const TSimModel& model);
TMatrix ConductanceMatrix(const TSimModel& model);

// Writes the dump of the model to a file; false when it cannot be opened.
bool WriteDebugDump(const TSimModel& model, const std::string& path);
