#pragma once

#include <string>
#include <string_view>

#include "model/TRotateableMetafile.h"
#include "params/ParamDef.h"

class TBaseElement;

// Blocks that show their values on the sheet (gain, constant, transfer
// function) draw them into their picture and size the outline to fit.

// Width in pixels of a text in the sheet's sans-serif face at the given pixel
// height. The core has no font metrics; this errs on the wide side so that a
// label never spills over its outline.
int LabelTextWidth(std::string_view text, int fontSize);

// An outline at least `minWidth` wide around one centred label.
TPicture ValueLabelPicture(const std::string& text, int minWidth, int height, int fontSize);

// The outline of the transfer function: the factor on the left, the
// numerator over the denominator on the right, at least `minWidth` wide.
TPicture TransferFunctionPicture(const std::string& factor, const std::string& numerator,
                                 const std::string& denominator, int minWidth);

// Puts the picture into the block and moves the pin on the outline's right
// edge (the output, or the input of a turned block) to stay there; pins on
// the top or bottom edge stay centred. The block's width follows and the
// links of the moved pins are redrawn.
void FitBlockToPicture(TBaseElement& block, TPicture picture);

// A parameter as the dialog shows it: the number in its present unit.
std::string ParamDisplayText(const ParamValue& value);
