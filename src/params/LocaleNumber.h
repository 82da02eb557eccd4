#pragma once

#include <string>
#include <string_view>

// Numbers as the parameter dialog shows them: the user's decimal separator
// instead of the file's ".". The separator is passed in, so the logic does
// not depend on the process locale.

// The general 15-significant-digit form of FormatReal with `separator`.
std::string FormatLocaleReal(double v, char separator);

// The whole text (blanks around it allowed) must be one finite number written
// with `separator` as the decimal point; false otherwise, and `value` is left
// unchanged.
bool ParseLocaleReal(std::string_view text, char separator, double& value);
