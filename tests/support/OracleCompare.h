#pragma once

#include <string>

class Schematic;

// Runs the schematic with the fast loop and with the literal dense loop and
// checks that every sample agrees within 1e-9 of the sample's largest value
// (at least 1), with the same Newton iteration count, when the fast loop
// differences every Jacobian column at every iteration; and within the
// accuracy of a forward-difference Newton step when it keeps the columns
// that cannot change, as it does in normal runs.
//
// With the sparse solver forced, its other pivot order rounds differently,
// and the forward differences magnify that by 1/pr where 1e4 S source
// branches share rows with small conductances (4e-6 of the largest value in
// the random schematics): samples then agree within 1e-4 of the largest
// value, as a forward-difference Newton step allows, and the iteration
// counts within one per step.
struct TOracleOptions {
    bool SparseSolver = false;
    // False where a device's state follows the number of reads (a switch):
    // the iteration counts may differ, and the samples agree within 1e-7.
    bool SameIterations = true;
};
void CompareWithOracle(Schematic& sheet, const std::string& what, TOracleOptions options = {});
