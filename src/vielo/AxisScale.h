#pragma once

#include <string>

// Axis ranges and tick spacing for the plots.

struct AxisRange {
    double Min = 0;
    double Max = 1;
    double Span() const { return Max - Min; }
    friend bool operator==(const AxisRange&, const AxisRange&) = default;
};

// What to show for data spanning [lo, hi]: widened on each side by `margin`
// times the span. A flat signal gets a band of 10 % of its value on each
// side, or of 1 around zero, so that it is drawn inside the plot.
AxisRange PaddedRange(double lo, double hi, double margin);

// Tick spacing of 1, 2 or 5 times a power of ten that divides `span` into at
// most maxTicks intervals, as many as possible.
double NiceStep(double span, int maxTicks);

// A printf format for labels of ticks `step` apart on an axis whose largest
// magnitude is maxAbs: fixed point with as many decimals as the step needs,
// exponent form for very small steps and very large numbers.
std::string TickLabelFormat(double step, double maxAbs);

// The range widened about its centre where it is narrower than the data's
// float precision can show (or 1e-12), so that zooming stops there.
AxisRange LimitedZoom(AxisRange range);
