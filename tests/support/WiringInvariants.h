#pragma once

#include <string>
#include <vector>

class Schematic;

// Checks the wiring of a schematic against its invariants, computed afresh
// from the segments' links: node membership and connectivity, attachments
// recorded on both sides, pins and their segments agreeing, and geometry
// (5-pixel boxes, attached ends on the pin centre or on the other segment's
// axis). Returns the first fault found, or an empty string.
std::string WiringFault(const Schematic& sheet);

// Saves the schematic and reads the text back into a scratch schematic:
// every two segments that share a node must share one after the round trip,
// and every pin must sit on the same segment. Returns the first difference,
// or an empty string. A byte-identical text is not enough: a joint the file
// cannot record is lost without changing the text.
std::string RoundTripFault(const Schematic& sheet);
// The same, with `back` the schematic already read from sheet's file text.
std::string RoundTripFault(const Schematic& sheet, const Schematic& back);

// Per pin, element by element in pin order: the position of the first pin
// sharing its node, or -1 for a pin without a wire.
std::vector<int> PinNodes(const Schematic& sheet);
// The first two pins that shared a node by `before` (PinNodes of an earlier
// state with the same elements) and no longer share one; empty when none.
// Drawing a wire may only join.
std::string SeparatedPins(const std::vector<int>& before, const Schematic& now);
