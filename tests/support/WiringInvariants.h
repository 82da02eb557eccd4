#pragma once

#include <string>

class Schematic;

// Checks the wiring of a schematic against its invariants, computed afresh
// from the segments' links: node membership and connectivity, attachments
// recorded on both sides, pins and their segments agreeing, and geometry
// (5-pixel boxes, attached ends on the pin centre or on the other segment's
// axis). Returns the first fault found, or an empty string.
std::string WiringFault(const Schematic& sheet);
