#pragma once

#include <vector>

#include "support/BoundModel.h"

class Schematic;
class TBaseElement;
class TConnector;
struct TBranchRecord;

// Puts circuit elements under test without a run: pins get wires and node
// numbers, a model bound to the schematic gets the wanted potentials, and a
// branch record's current is read the way the engine combines it.
class BranchProbe {
public:
    explicit BranchProbe(Schematic& sheet) : model_(sheet) {}
    // Wires the pin (once) and gives its node the potential.
    void SetPotential(TConnector* pin, double phi);
    // i = g·(E − u) − J with u = φ(terminal 2) − φ(terminal 1), the values
    // read in the order g, E, J.
    static double Current(TBaseElement& element, const TBranchRecord& branch);

private:
    BoundModel model_;
    std::vector<TConnector*> pins_;
};
