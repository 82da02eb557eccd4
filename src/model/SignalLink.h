#pragma once

#include <memory>
#include <vector>

#include "model/TInfoLine.h"

class Schematic;
class TInfoInput;
class TInfoOutput;

// The connection of one output to one input, owned by the input. Its pieces
// follow the route between the two pins and are laid anew by Route whenever
// either end moves.
struct SignalLink {
    SignalLink(TInfoOutput* source, TInfoInput* target) : Source(source), Target(target) {}

    TInfoOutput* Source;
    TInfoInput* Target;
    std::vector<std::unique_ptr<TInfoLine>> Pieces;

    // Reduces both pin angles to 0..359, then lays the pieces along the route
    // between the pins, reusing the pieces it already has.
    void Route();
};

// Every link piece of the sheet, in sheet coordinates, for the painter.
std::vector<TPrimitive> PaintSignalLinks(const Schematic& sheet);
