#pragma once

#include <string>
#include <string_view>
#include <vector>

// Coefficient lists of the transfer function as the dialog, the picture and
// the schematic file show them: numbers separated by one space.

// Each value in its shortest general form (15 significant digits), "." as the
// decimal point; an empty list gives an empty text.
std::string CoefficientListText(const std::vector<double>& values);

// One element per group of non-blank characters; the numbers are read one
// after another from the start, and reading stops at the first group that
// does not start with a number, leaving the rest of the elements at 0.
std::vector<double> ParseCoefficientList(std::string_view text);
// The file's form: blank-separated finite numbers, nothing else; false, with
// `values` unchanged, otherwise.
bool ReadCoefficientList(std::string_view text, std::vector<double>& values);

// The normal form the transfer-function dialog stores: leading zeros of the
// denominator dropped; the numerator cut to at most the denominator's length
// (losing its highest powers) and without leading zeros; at most as many
// initial values as denominator coefficients.
struct TTransferCoefficients {
    std::vector<double> Num;
    std::vector<double> Den;
    std::vector<double> IC;
};
void NormaliseTransferFunction(TTransferCoefficients& c);

// A denominator without a non-zero coefficient gives no system.
bool DenominatorUsable(const std::vector<double>& den);
