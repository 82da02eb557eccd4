#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/ElementNames.h"
#include "model/Geometry.h"

class Schematic;
class TBaseElement;

// What the sheet writes beside each element: its derived name
// (model/ElementNames.h) and its main value in its unit.

// The first reference parameter in its present unit ("1 кОм", "12 В"), or
// the database mark while a device is chosen; empty for blocks, which show
// their values in their pictures, and for elements without parameters.
std::string MainValueText(const TBaseElement& element);

struct TElementLabel {
    std::vector<std::string> Lines; // name, then the value when there is one
    TPoint At;                      // sheet point the text hangs from
    bool Above = false;             // above the box, centred on At; else right of it, from At
};
// Upright whatever the element's angle: above a box wider than tall (its
// pins left and right), else beside its right edge.
TElementLabel LabelOf(const TBaseElement& element, const std::string& name);

// What an export shows: the boxes of every element (or of the selected
// ones) and of the wires among them, with room for the labels, grown by
// `margin` on every side; empty when there is nothing to show.
std::optional<TRect> DrawingBounds(const Schematic& sheet, bool selectionOnly, int margin);

// The tooltip: name and class, then every reference parameter with its unit,
// then the latest value of the element's output in the present or last run
// (six significant digits), when there is one.
std::string ElementTooltip(const TBaseElement& element, const std::string& name,
                           std::optional<double> output = std::nullopt);
