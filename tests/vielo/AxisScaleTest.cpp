#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>

#include "vielo/AxisScale.h"

namespace {

TEST(PaddedRange, MarginOnBothSidesOfTheSpan) {
    EXPECT_EQ(PaddedRange(-0.5, 1.5, 0.05), (AxisRange{-0.6, 1.6}));
    EXPECT_EQ(PaddedRange(2, 4, 0), (AxisRange{2, 4}));
    EXPECT_EQ(PaddedRange(4, 2, 0), (AxisRange{2, 4}));
}

TEST(PaddedRange, FlatSignalsGetABandAroundThem) {
    EXPECT_EQ(PaddedRange(0, 0, 0.05), (AxisRange{-1, 1}));
    EXPECT_EQ(PaddedRange(5, 5, 0.05), (AxisRange{4.5, 5.5}));
    EXPECT_EQ(PaddedRange(-20, -20, 0.05), (AxisRange{-22, -18}));
}

TEST(NiceStep, OneTwoOrFiveTimesAPowerOfTen) {
    EXPECT_DOUBLE_EQ(NiceStep(1, 10), 0.1);
    EXPECT_DOUBLE_EQ(NiceStep(7, 5), 2); // 1.4 per tick rounds up to 2
    EXPECT_DOUBLE_EQ(NiceStep(0.0037, 4), 0.001);
    EXPECT_DOUBLE_EQ(NiceStep(100, 10), 10); // exactly 10 intervals
    EXPECT_DOUBLE_EQ(NiceStep(2.2, 5), 0.5);
    EXPECT_DOUBLE_EQ(NiceStep(3e6, 6), 5e5);
    EXPECT_DOUBLE_EQ(NiceStep(0, 5), 1);
}

TEST(NiceStep, TheFinestStepThatKeepsWithinTheTickCount) {
    // Against a plain search over the candidates 1, 2, 5 x 10^k.
    for (double span : {0.013, 0.9, 1.0, 3.3, 17.0, 99.0, 101.0, 2.5e-5, 7.7e8}) {
        for (int ticks : {2, 3, 5, 8, 13}) {
            double best = 0;
            for (int k = -12; k <= 12 && best == 0; ++k)
                for (double m : {1.0, 2.0, 5.0}) {
                    const double step = m * std::pow(10.0, k);
                    if (span / step <= ticks * (1 + 1e-9)) {
                        best = step;
                        break;
                    }
                }
            EXPECT_NEAR(NiceStep(span, ticks), best, best * 1e-12) << span << " " << ticks;
        }
    }
}

std::string Label(double step, double maxAbs, double value) {
    char buf[64];
    std::snprintf(buf, sizeof buf, TickLabelFormat(step, maxAbs).c_str(), value);
    return buf;
}

TEST(TickLabels, JustTheDecimalsTheStepNeeds) {
    EXPECT_EQ(TickLabelFormat(0.1, 1.4), "%.1f");
    EXPECT_EQ(TickLabelFormat(5, 40), "%.0f");
    EXPECT_EQ(TickLabelFormat(0.0002, 0.001), "%.4f");
    EXPECT_EQ(Label(0.2, 2, 1.4000000000000001), "1.4");
    EXPECT_EQ(Label(0.005, 0.1, 0.015), "0.015");
    EXPECT_EQ(Label(1000, 5000, 3000), "3000");
}

TEST(TickLabels, ExponentFormForTinyStepsAndHugeValues) {
    EXPECT_EQ(TickLabelFormat(2e-5, 1e-4), "%.1e");
    EXPECT_EQ(Label(2e-5, 1e-4, 6e-5), "6.0e-05");
    EXPECT_EQ(Label(1e6, 5e7, 3e7), "3.0e+07");
    EXPECT_EQ(Label(1e-9, 1e-6, 1.234e-6), "1.234e-06");
}

TEST(LimitedZoom, StopsWhereFloatsStopResolving) {
    EXPECT_EQ(LimitedZoom({1, 2}), (AxisRange{1, 2}));
    const AxisRange tight = LimitedZoom({1000, 1000.0000001});
    EXPECT_NEAR(tight.Span(), 1e-3, 1e-12);
    EXPECT_NEAR(0.5 * (tight.Min + tight.Max), 1000.00000005, 1e-9);
    EXPECT_NEAR(LimitedZoom({0, 0}).Span(), 1e-12, 1e-24);
}

} // namespace
