#include "params/ValueText.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string>

std::string FormatReal(double v) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.15G", v);
    std::string s = buf;
    // "1E-05" -> "1E-5", "1E+20" -> "1E20".
    const auto e = s.find('E');
    if (e != std::string::npos && e + 1 < s.size()) {
        std::string mant = s.substr(0, e);
        std::string exp = s.substr(e + 1);
        bool neg = false;
        if (exp[0] == '+' || exp[0] == '-') {
            neg = exp[0] == '-';
            exp.erase(0, 1);
        }
        while (exp.size() > 1 && exp[0] == '0') exp.erase(0, 1);
        s = mant + "E" + (neg ? "-" : "") + exp;
    }
    return s;
}

namespace {

// Leading blanks and one sign, as the C library's readers take them;
// from_chars takes neither, so the caller applies the sign.
std::size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    return i;
}

} // namespace

std::size_t ParseReal(std::string_view text, double& value) {
    bool negative = false;
    const std::size_t i = SkipBlanksAndSign(text, negative);
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) return 0;
    double v = 0;
    auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), v,
                                     std::chars_format::general);
    if (ptr == text.data() + i) return 0;
    if (ec == std::errc::result_out_of_range) {
        // strtod semantics: overflow gives infinity, underflow zero.
        const std::string_view used(text.data() + i, std::size_t(ptr - (text.data() + i)));
        const auto e = used.find_first_of("eE");
        const bool tiny = e != std::string_view::npos && e + 1 < used.size() && used[e + 1] == '-';
        v = tiny ? 0.0 : HUGE_VAL;
    }
    value = negative ? -v : v;
    return std::size_t(ptr - text.data());
}

std::size_t ParseInt(std::string_view text, long& value) {
    bool negative = false;
    const std::size_t i = SkipBlanksAndSign(text, negative);
    long v = 0;
    auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), v);
    if (ptr == text.data() + i || ec != std::errc()) return 0;
    value = negative ? -v : v;
    return std::size_t(ptr - text.data());
}

std::string FormatValueText(const ParamValue& v) {
    std::string s = FormatReal(v.Value);
    if (v.Def && v.Def->Units) {
        s += ',';
        s += std::to_string(v.Unit);
    }
    return s;
}

void ParseValueText(std::string_view text, ParamValue& v) {
    double number = 0;
    const std::size_t used = ParseReal(text, number);
    v.Value = used ? number : 0.0;
    if (used < text.size() && text[used] == ',') {
        long unit = 0;
        ParseInt(text.substr(used + 1), unit);
        if (v.Def && ValidUnit(*v.Def, int(unit))) v.Unit = int(unit);
        else if (v.Def) v.Unit = v.Def->DefaultUnit;
    }
}
