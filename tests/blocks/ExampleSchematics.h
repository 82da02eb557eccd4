#pragma once

#include <string>
#include <vector>

class Schematic;

// The example schematics of the block diagrams, built through the editing
// operations a user performs: elements created by class name, wires dragged
// from pin to pin, signal links set. Each is saved to examples/<File>.
struct ExampleSchematic {
    std::string File;
    void (*Build)(Schematic& sheet);
};

const std::vector<ExampleSchematic>& BlockExamples();
