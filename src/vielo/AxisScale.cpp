#include "vielo/AxisScale.h"

#include <algorithm>
#include <cmath>

AxisRange PaddedRange(double lo, double hi, double margin) {
    if (hi < lo) std::swap(lo, hi);
    const double span = hi - lo;
    if (span > 0) return {lo - margin * span, hi + margin * span};
    const double band = lo == 0 ? 1.0 : 0.1 * std::abs(lo);
    return {lo - band, hi + band};
}

double NiceStep(double span, int maxTicks) {
    if (!(span > 0) || !std::isfinite(span)) return 1;
    const double raw = span / std::max(maxTicks, 1);
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    // The tolerance keeps a step that is exactly 1, 2 or 5 units from being
    // pushed to the next one by rounding in the division.
    for (double m : {1.0, 2.0, 5.0})
        if (m * power >= raw * (1 - 1e-9)) return m * power;
    return 10 * power;
}

std::string TickLabelFormat(double step, double maxAbs) {
    const int stepExponent = static_cast<int>(std::floor(std::log10(step) + 1e-9));
    const int decimals = std::max(0, -stepExponent);
    if (decimals <= 4 && maxAbs < 1e7) return "%." + std::to_string(decimals) + "f";
    const int valueExponent = maxAbs > 0 ? static_cast<int>(std::floor(std::log10(maxAbs))) : 0;
    const int digits = std::clamp(valueExponent - stepExponent, 0, 8);
    return "%." + std::to_string(digits) + "e";
}

AxisRange LimitedZoom(AxisRange range) {
    const double magnitude = std::max(std::abs(range.Min), std::abs(range.Max));
    const double least = std::max(1e-12, 1e-6 * magnitude);
    if (range.Span() >= least) return range;
    const double centre = 0.5 * (range.Min + range.Max);
    return {centre - 0.5 * least, centre + 0.5 * least};
}
