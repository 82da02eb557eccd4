#include "params/LocaleNumber.h"

#include <cmath>

#include "params/ValueText.h"

std::string FormatLocaleReal(double v, char separator) {
    std::string s = FormatShownReal(v);
    for (char& c : s)
        if (c == '.') c = separator;
    return s;
}

bool ParseLocaleReal(std::string_view text, char separator, double& value) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty()) return false;
    std::string plain;
    for (char c : text) {
        // A "." in a locale whose separator is "," is a typing error, not a
        // decimal point.
        if (c == '.' && separator != '.') return false;
        // Only digits, signs, the exponent and the separator make a number;
        // this also keeps "inf" and "nan" out.
        const bool allowed = (c >= '0' && c <= '9') || c == '+' || c == '-' || c == 'e' ||
                             c == 'E' || c == separator;
        if (!allowed) return false;
        plain += c == separator ? '.' : c;
    }
    double v = 0;
    if (ParseReal(plain, v) != plain.size() || !std::isfinite(v)) return false;
    value = v;
    return true;
}
