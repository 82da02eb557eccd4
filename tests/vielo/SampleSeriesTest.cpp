#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

#include "vielo/SampleSeries.h"

namespace {

const float Nan = std::numeric_limits<float>::quiet_NaN();

std::vector<float> Ramp(int n, float step) {
    std::vector<float> t;
    for (int i = 0; i < n; ++i)
        t.push_back(i * step);
    return t;
}

TEST(VisiblePoints, FewSamplesAreDrawnAllWithOneBeyondEachEdge) {
    const auto t = Ramp(10, 1), v = Ramp(10, 2);
    const auto p = VisiblePoints(t, v, 2.5, 5.5, 100);
    ASSERT_EQ(p.size(), 5u); // samples 2 to 6
    EXPECT_EQ(p.front().T, 2);
    EXPECT_EQ(p.back().T, 6);
    EXPECT_EQ(p[1].V, 6);

    const auto all = VisiblePoints(t, v, -100, 100, 100);
    EXPECT_EQ(all.size(), 10u);
    EXPECT_TRUE(VisiblePoints({}, {}, 0, 1, 10).empty());
}

TEST(VisiblePoints, NonFiniteValuesAreLeftOut) {
    const std::vector<float> t{0, 1, 2, 3}, v{1, Nan, std::numeric_limits<float>::infinity(), 4};
    const auto p = VisiblePoints(t, v, 0, 3, 100);
    ASSERT_EQ(p.size(), 2u);
    EXPECT_EQ(p[0].T, 0);
    EXPECT_EQ(p[1].T, 3);
}

TEST(VisiblePoints, ManySamplesKeepEveryBucketsExtremes) {
    // 200 000 samples of a sine with one narrow spike, on 150 pixels.
    const int n = 200000, buckets = 150;
    const auto t = Ramp(n, 1e-4f);
    std::vector<float> v(n);
    for (int i = 0; i < n; ++i)
        v[i] = static_cast<float>(std::sin(2 * std::numbers::pi * t[i]));
    v[123457] = 25;
    const double t0 = 2.0, t1 = 17.0;
    const auto p = VisiblePoints(t, v, t0, t1, buckets);
    EXPECT_LE(p.size(), 4u * buckets + 2);
    for (std::size_t i = 1; i < p.size(); ++i)
        ASSERT_LT(p[i - 1].T, p[i].T);

    // Brute force: the extremes of the samples in each bucket are among the points.
    const double width = (t1 - t0) / buckets;
    for (int b = 0; b < buckets; ++b) {
        const double lo = t0 + b * width, hi = lo + width;
        float mn = 1e30f, mx = -1e30f;
        for (int i = 0; i < n; ++i)
            if (t[i] >= lo && t[i] < hi) {
                mn = std::min(mn, v[i]);
                mx = std::max(mx, v[i]);
            }
        bool foundMin = false, foundMax = false;
        for (const PlotPoint& q : p) {
            if (q.T < lo - 1e-4 || q.T > hi + 1e-4) continue;
            foundMin |= q.V == mn;
            foundMax |= q.V == mx;
        }
        EXPECT_TRUE(foundMin && foundMax) << "bucket " << b;
    }
    bool spike = false;
    for (const PlotPoint& q : p)
        spike |= q.V == 25;
    EXPECT_TRUE(spike);
    EXPECT_LT(p.front().T, t0);
    EXPECT_GT(p.back().T, t1);
}

TEST(ValueAt, LinearBetweenSamples) {
    const std::vector<float> t{0, 1, 3}, v{2, 4, -2};
    EXPECT_DOUBLE_EQ(ValueAt(t, v, 0), 2);
    EXPECT_DOUBLE_EQ(ValueAt(t, v, 0.25), 2.5);
    EXPECT_DOUBLE_EQ(ValueAt(t, v, 2), 1);
    EXPECT_DOUBLE_EQ(ValueAt(t, v, 3), -2);
    EXPECT_TRUE(std::isnan(ValueAt(t, v, -0.1)));
    EXPECT_TRUE(std::isnan(ValueAt(t, v, 3.1)));
    EXPECT_TRUE(std::isnan(ValueAt({}, {}, 0)));
}

TEST(ValueAt, RepeatedTimesTakeTheLaterSample) {
    const std::vector<float> t{0, 1, 1, 2}, v{0, 5, 7, 9};
    EXPECT_DOUBLE_EQ(ValueAt(t, v, 1), 7);
    EXPECT_DOUBLE_EQ(ValueAt(t, v, 1.5), 8);
}

TEST(FiniteExtent, OverTheTimeWindowSkippingUndefinedValues) {
    const std::vector<float> t{0, 1, 2, 3, 4}, v{-9, 3, Nan, -1, 12};
    double lo = 0, hi = 0;
    ASSERT_TRUE(FiniteExtent(t, v, 0.5, 3.5, lo, hi));
    EXPECT_EQ(lo, -1);
    EXPECT_EQ(hi, 3);
    ASSERT_TRUE(FiniteExtent(t, v, -10, 10, lo, hi));
    EXPECT_EQ(lo, -9);
    EXPECT_EQ(hi, 12);
    EXPECT_FALSE(FiniteExtent(t, v, 1.5, 2.5, lo, hi));
}

} // namespace
