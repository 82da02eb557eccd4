#include "params/ValueText.h"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <string>

std::string FormatShownReal(double v) {
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
        while (exp.size() > 1 && exp[0] == '0')
            exp.erase(0, 1);
        s = mant + "E" + (neg ? "-" : "") + exp;
    }
    return s;
}

std::string FormatReal(double v) {
    if (v == 0) return "0";
    char buf[64];
    // Shortest digits that read back exactly, then laid out in the general
    // form the files have always used.
    const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
    if (ec != std::errc()) return "0";
    const std::string_view sci(buf, std::size_t(end - buf));
    if (!std::isfinite(v)) return std::string(sci);
    const auto e = sci.find('e');
    const bool negative = sci[0] == '-';
    std::string digits;
    for (char c : sci.substr(0, e))
        if (c >= '0' && c <= '9') digits += c;
    int exponent = 0;
    std::from_chars(sci.data() + e + 1 + (sci[e + 1] == '+'), sci.data() + sci.size(), exponent);
    std::string s = negative ? "-" : "";
    const int n = int(digits.size());
    if (exponent < -4 || exponent >= 15) {
        s += digits[0];
        if (n > 1) s += "." + digits.substr(1);
        s += "E" + std::to_string(exponent);
    } else if (exponent < 0) {
        s += "0." + std::string(std::size_t(-exponent - 1), '0') + digits;
    } else if (exponent + 1 >= n) {
        s += digits + std::string(std::size_t(exponent + 1 - n), '0');
    } else {
        s += digits.substr(0, std::size_t(exponent + 1)) + "." +
             digits.substr(std::size_t(exponent + 1));
    }
    return s;
}

namespace {

// Leading blanks and one sign, as the C library's readers take them;
// from_chars takes neither, so the caller applies the sign.
std::size_t SkipBlanksAndSign(std::string_view text, bool& negative) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
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
    auto [ptr, ec] =
        std::from_chars(text.data() + i, text.data() + text.size(), v, std::chars_format::general);
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
    // The magnitude alone, so that a second sign is refused and the most
    // negative value needs no negation of a signed number.
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return 0;
    unsigned long magnitude = 0;
    auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), magnitude);
    if (ec != std::errc()) return 0;
    const unsigned long limit = negative ? 0UL - static_cast<unsigned long>(LONG_MIN)
                                         : static_cast<unsigned long>(LONG_MAX);
    if (magnitude > limit) return 0;
    value = negative ? (magnitude == limit ? LONG_MIN : -static_cast<long>(magnitude))
                     : static_cast<long>(magnitude);
    return std::size_t(ptr - text.data());
}

namespace {
bool OnlyBlanks(std::string_view text) {
    return text.find_first_not_of(" \t") == std::string_view::npos;
}
} // namespace

bool ReadReal(std::string_view text, double& value) {
    double v = 0;
    const std::size_t used = ParseReal(text, v);
    if (used == 0 || !OnlyBlanks(text.substr(used)) || !std::isfinite(v)) return false;
    // from_chars also takes "inf" and "nan", which are no numbers of a file.
    value = v;
    return true;
}

bool ReadInt(std::string_view text, long& value) {
    long v = 0;
    const std::size_t used = ParseInt(text, v);
    if (used == 0 || !OnlyBlanks(text.substr(used))) return false;
    value = v;
    return true;
}

std::string FormatValueText(const ParamValue& v) {
    std::string s = FormatReal(v.Value);
    if (v.Def && v.Def->Units) {
        s += ',';
        s += std::to_string(v.Unit);
    }
    return s;
}

std::string ParseValueText(std::string_view text, ParamValue& v) {
    const auto comma = text.find(',');
    const bool hasUnits = v.Def && v.Def->Units;
    double number = 0;
    if (!ReadReal(text.substr(0, comma), number)) return "\"" + std::string(text) + "\" не является числом";
    long unit = 0;
    // A row without units may still carry ",0", the base unit: nothing is
    // lost reading it, and files and databases written that way stay valid.
    if (comma != std::string_view::npos && !hasUnits && !(ReadInt(text.substr(comma + 1), unit) && unit == 0))
        return "\"" + std::string(text) + "\" не является числом";
    if (comma == std::string_view::npos || !hasUnits) {
        v.Value = number;
        return {};
    }
    if (!ReadInt(text.substr(comma + 1), unit) || unit < 0 || unit > 1000 ||
        !ValidUnit(*v.Def, int(unit)))
        return "\"" + std::string(text) + "\": нет единицы измерения с номером " +
               std::string(text.substr(comma + 1));
    v.Value = number;
    v.Unit = int(unit);
    return {};
}
