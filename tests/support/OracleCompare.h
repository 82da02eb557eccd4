#pragma once

#include <string>

class Schematic;

// Runs the schematic with the fast loop and with the literal dense loop and
// checks that every sample agrees within 1e-9 of the sample's largest value
// (at least 1), with the same Newton iteration count unless
// `sameIterations` is false.
void CompareWithOracle(Schematic& sheet, const std::string& what, bool sameIterations = true);
