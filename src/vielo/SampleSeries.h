#pragma once

#include <vector>

// Work on one input's samples (times ascending, values possibly non-finite
// where the run diverged).

struct PlotPoint {
    double T;
    double V;
};

// The points to draw over [t0, t1] on a plot `buckets` pixels wide. All
// samples when they are few; otherwise, per bucket, the first, lowest,
// highest and last sample, so that no peak is lost however far the view is
// zoomed out. The nearest sample beyond each end is included so the line
// runs to the edge. Non-finite values are left out.
std::vector<PlotPoint> VisiblePoints(const std::vector<float>& times,
                                     const std::vector<float>& values, double t0, double t1,
                                     int buckets);

// Linear interpolation at time t; NaN outside the samples' time span.
double ValueAt(const std::vector<float>& times, const std::vector<float>& values, double t);

// Lowest and highest finite value among the samples with t0 <= time <= t1;
// false when there is none.
bool FiniteExtent(const std::vector<float>& times, const std::vector<float>& values, double t0,
                  double t1, double& lo, double& hi);
