#include "blocks/CoefficientList.h"

#include <algorithm>

#include "params/ValueText.h"

std::string CoefficientListText(const std::vector<double>& values) {
    std::string text;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i) text += ' ';
        text += FormatReal(values[i]);
    }
    return text;
}

std::vector<double> ParseCoefficientList(std::string_view text) {
    std::size_t tokens = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != ' ' && (i == 0 || text[i - 1] == ' ')) ++tokens;
    std::vector<double> values(tokens, 0.0);
    std::size_t pos = 0;
    for (double& v : values) {
        const std::size_t used = ParseReal(text.substr(pos), v);
        if (used == 0) break;
        pos += used;
    }
    return values;
}

void NormaliseTransferFunction(TTransferCoefficients& c) {
    const auto firstDen =
        std::find_if(c.Den.begin(), c.Den.end(), [](double v) { return v != 0.0; });
    c.Den.erase(c.Den.begin(), firstDen);

    std::size_t start = c.Num.size() > c.Den.size() ? c.Num.size() - c.Den.size() : 0;
    while (start < c.Num.size() && c.Num[start] == 0.0)
        ++start;
    c.Num.erase(c.Num.begin(), c.Num.begin() + std::ptrdiff_t(start));

    if (c.IC.size() > c.Den.size()) c.IC.resize(c.Den.size());
}

bool DenominatorUsable(const std::vector<double>& den) {
    return std::any_of(den.begin(), den.end(), [](double v) { return v != 0.0; });
}

bool ReadCoefficientList(std::string_view text, std::vector<double>& values) {
    std::vector<double> read;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == ' ') {
            ++pos;
            continue;
        }
        const auto end = std::min(text.find(' ', pos), text.size());
        double v = 0;
        if (!ReadReal(text.substr(pos, end - pos), v)) return false;
        read.push_back(v);
        pos = end;
    }
    values = std::move(read);
    return true;
}
