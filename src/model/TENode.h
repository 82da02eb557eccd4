#pragma once

#include <string>
#include <vector>

class TElectricLine;

// An electrical node: the segments joined into one conductor.
class TENode {
public:
    std::vector<TElectricLine*> Segments;
    std::string Name;
};
