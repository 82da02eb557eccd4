#pragma once

#include <string>

class Schematic;

// Runs the schematic with the fast loop and with the literal dense loop and
// checks that every sample agrees within 1e-9 of the sample's largest value
// (at least 1), with the same Newton iteration count, when the fast loop
// differences every Jacobian column at every iteration; and within the
// accuracy of a forward-difference Newton step when it keeps the columns
// that cannot change, as it does in normal runs.
void CompareWithOracle(Schematic& sheet, const std::string& what);
