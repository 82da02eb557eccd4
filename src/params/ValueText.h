#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "params/ParamDef.h"

// Numbers as text, always with "." as the decimal point whatever the locale.

// The shortest text that reads back to exactly the same double; general form
// ("0.3", "1000000000"), exponent form ("1E-5", "2.5E20") for magnitudes below
// 1e-4 or from 1e15 on.
std::string FormatReal(double v);
// The same layout with at most 15 significant digits, for showing a value to
// the user (dialogs, labels), where 0.1 + 0.2 reads better as 0.3.
std::string FormatShownReal(double v);

// Reads the longest prefix that is a decimal floating-point number (optional
// leading blanks and sign, digits, ".", exponent). Returns the number of
// characters used, 0 when the text does not start with a number.
std::size_t ParseReal(std::string_view text, double& value);
// Integer with optional leading blanks and one sign; returns the characters
// used, 0 when the text does not start with one or it does not fit.
std::size_t ParseInt(std::string_view text, long& value);

// The readers of file fields: the whole text (blanks around it allowed) must
// be one number, a real one finite. False, with `value` unchanged, otherwise.
bool ReadReal(std::string_view text, double& value);
bool ReadInt(std::string_view text, long& value);

// A parameter value: the number, and ",unit" when the row has units.
std::string FormatValueText(const ParamValue& v);
// Reads "number" or, for a row with units, "number,unit" (the unit stays when
// no comma follows). Returns the problem for the user, empty when the text was
// taken; a text that cannot be taken whole changes nothing.
std::string ParseValueText(std::string_view text, ParamValue& v);
