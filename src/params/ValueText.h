#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "params/ParamDef.h"

// Numbers as text, always with "." as the decimal point whatever the locale.

// General form, 15 significant digits, trailing zeros dropped; exponent form
// ("1E-5", "2.5E20") for magnitudes below 1e-4 or from 1e15 on.
std::string FormatReal(double v);

// Reads the longest prefix that is a decimal floating-point number (optional
// leading blanks and sign, digits, ".", exponent). Returns the number of
// characters used, 0 when the text does not start with a number.
std::size_t ParseReal(std::string_view text, double& value);
// Integer with optional sign; returns the characters used.
std::size_t ParseInt(std::string_view text, long& value);

// A parameter value: the number, and ",unit" when the row has units.
std::string FormatValueText(const ParamValue& v);
// Reads "number[,unit]": the number (0 when the text has none), and the unit
// when a comma follows; a unit index outside the row's table gives the row's
// default unit.
void ParseValueText(std::string_view text, ParamValue& v);
