#pragma once

#include <memory>

class Schematic;

// The benchmark circuits, built with the editor's own wiring operations.

// A 12 V source (0.01 Ω inside) feeding `sections` sections of 1 kΩ in
// series with 1 µF to ground; with one section it is the RC circuit.
std::unique_ptr<Schematic> Ladder(int sections);

// A rows × cols grid of 1 kΩ resistors with 1 µF from every node to ground,
// fed at one corner from 12 V; in each row the horizontal resistor in the
// middle is a diode (anode towards the source), so the Jacobian changes as
// the diodes switch.
std::unique_ptr<Schematic> Mesh(int rows, int cols);
