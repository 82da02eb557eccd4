#pragma once

#include <string>
#include <vector>

class Schematic;

// What makes a schematic's electric circuit meaningless, found before a run
// that still goes ahead: electrical elements but no node tied to the ground
// (the chassis); a wire node that reaches a single pin; no element that
// brings energy into the circuit. One text per kind of problem, naming the
// elements by their derived names; none for a schematic of blocks alone.
std::vector<std::string> CircuitWarnings(const Schematic& sheet);
