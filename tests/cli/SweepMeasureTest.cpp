// The measures of a sweep's summary on waveforms whose figures are known in
// closed form.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "app/Sweep.h"

namespace {

using Kind = TMeasure::TKind;

// The unit step response of ω²/(s² + 2ζωs + ω²), sampled densely: its
// overshoot is 100·exp(−πζ/√(1 − ζ²)) %, its peak at π/ωd; by 5 s it has
// settled to within 1e-6.
TEST(SweepMeasure, OvershootOfASecondOrderStepResponse) {
    const double w = 12, zeta = 0.25, wd = w * std::sqrt(1 - zeta * zeta);
    std::vector<double> t, y;
    for (int k = 0; k <= 500000; ++k) {
        const double time = k * 1e-5;
        t.push_back(time);
        y.push_back(1 - std::exp(-zeta * w * time) * (std::cos(wd * time) + zeta / std::sqrt(1 - zeta * zeta) * std::sin(wd * time)));
    }
    const double expected = 100 * std::exp(-M_PI * zeta / std::sqrt(1 - zeta * zeta));
    EXPECT_NEAR(Measure(Kind::Overshoot, t, y), expected, 1e-3);
    EXPECT_NEAR(Measure(Kind::Max, t, y), 1 + expected / 100, 1e-6);
    EXPECT_NEAR(Measure(Kind::Final, t, y), 1, 1e-6);
    // Falling the same way, from 1 to 0: the same overshoot below the end.
    std::vector<double> down;
    for (double v : y) down.push_back(1 - v);
    EXPECT_NEAR(Measure(Kind::Overshoot, t, down), expected, 1e-3);
    EXPECT_NEAR(Measure(Kind::Min, t, down), -expected / 100, 1e-6);
}

// A ramp from 2 to 12 over 1 s held afterwards: 10–90 % takes 0.8 s, and
// the crossings fall between samples, where they are interpolated.
TEST(SweepMeasure, RiseTimeOfARampBetweenSamples) {
    std::vector<double> t, y;
    for (int k = 0; k <= 30; ++k) {
        const double time = k * 0.07;
        t.push_back(time);
        y.push_back(2 + 10 * std::min(time, 1.0));
    }
    EXPECT_NEAR(Measure(Kind::Rise, t, y), 0.8, 1e-12);
    EXPECT_EQ(Measure(Kind::Overshoot, t, y), 0.0);
    // The mean of the samples, not of the curve.
    double sum = 0;
    for (double v : y) sum += v;
    EXPECT_DOUBLE_EQ(Measure(Kind::Mean, t, y), sum / double(y.size()));
}

TEST(SweepMeasure, NoStepNoRiseNoSamplesNothing) {
    const std::vector<double> t{0, 1, 2}, flat{3, 3, 3};
    EXPECT_TRUE(std::isnan(Measure(Kind::Rise, t, flat)));
    EXPECT_TRUE(std::isnan(Measure(Kind::Overshoot, t, flat)));
    EXPECT_TRUE(std::isnan(Measure(Kind::Final, {}, {})));
    EXPECT_EQ(Measure(Kind::Final, t, flat), 3.0);
}

} // namespace
