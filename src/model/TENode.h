#pragma once

#include <string>
#include <vector>

class Schematic;
class TElectricLine;

// An electrical node: the segments joined into one conductor. Its number is
// its position in the schematic's Nodes, which changes as nodes merge and
// split, so numbers are read afresh at every model assembly.
class TENode {
public:
    std::vector<TElectricLine*> Segments;
    std::string Name;
    // Equation index of the node's potential, set by model assembly; -1 when
    // the node has none.
    int SimIndex = -1;
};

// A node holding only `segment`, appended to the schematic's Nodes.
TENode* NewNode(Schematic& sheet, TElectricLine* segment);
// `survivor` takes every segment of `absorbed`, and its name when that is not
// empty; `absorbed` leaves Nodes and is freed. Nothing when they are one node.
void MergeNodes(Schematic& sheet, TENode* survivor, TENode* absorbed);
// Before `segment` is freed: every segment joined to it gets a fresh node
// holding what it still reaches without passing through `segment`; the old
// node leaves Nodes and is freed.
void RebuildAfterDelete(TElectricLine* segment);
