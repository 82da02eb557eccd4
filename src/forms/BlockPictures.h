#pragma once

#include <string>

#include "forms/PictureBuilder.h"

// The common shape of the signal blocks with one input and one output
// (pins Output (48, 6) and Input (0, 6) in their forms): a 37 x 26 body placed
// at (12, 0) between the pins. With the block margins the pins then meet the
// body at its vertical centre, so turning the block keeps them in place.
constexpr int BlockBodyLeft = 12;
constexpr int BlockBodyWidth = 37;
constexpr int BlockBodyHeight = 26;

// Gain, constant, transfer function and display have their pins above the
// form's top edge. Their bodies start this far up, so that the block margins
// bring them to the top of the element with the pins at the body's vertical
// centre.
constexpr int RaisedBodyTop = -12;

// An empty body of the common size, to draw on.
PictureBuilder BlockBody();
// A body showing a text.
TPicture TextBlock(const std::string& text, int size = 11, bool italic = false);
