#pragma once

#include <string>

#include "model/Geometry.h"

class Schematic;
class TBaseElement;
class TConnector;

// Creates an element of a registered class with its box at (left, top).
TBaseElement* PlaceElement(Schematic& sheet, const std::string& cls, int left, int top);
// Presses the left button on the pin's centre, moves to `to` and releases there.
void DragWire(TConnector* pin, TPoint to);
