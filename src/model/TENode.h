#pragma once

#include <string>
#include <vector>

class TElectricLine;

// An electrical node: the segments joined into one conductor.
class TENode {
public:
    std::vector<TElectricLine*> Segments;
    std::string Name;
    // Equation index of the node for the present run, set by model assembly.
    int SimIndex = -1;
};
