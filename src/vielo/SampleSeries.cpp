#include "vielo/SampleSeries.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Below this many samples per bucket, drawing them all costs less than
// choosing among them.
constexpr std::size_t PointsPerBucket = 4;

void Add(std::vector<PlotPoint>& out, const std::vector<float>& t, const std::vector<float>& v,
         std::size_t i) {
    if (std::isfinite(v[i])) out.push_back({t[i], v[i]});
}

} // namespace

std::vector<PlotPoint> VisiblePoints(const std::vector<float>& times,
                                     const std::vector<float>& values, double t0, double t1,
                                     int buckets) {
    std::vector<PlotPoint> out;
    const std::size_t n = std::min(times.size(), values.size());
    if (n == 0) return out;
    auto begin = times.begin(), end = times.begin() + n;
    std::size_t first = std::lower_bound(begin, end, t0) - begin;
    std::size_t last = std::upper_bound(begin, end, t1) - begin;
    if (first > 0) --first;
    if (last == n) --last;
    if (last < first) return out;

    const std::size_t count = last - first + 1;
    if (buckets < 1 || count <= PointsPerBucket * static_cast<std::size_t>(buckets)) {
        out.reserve(count);
        for (std::size_t i = first; i <= last; ++i)
            Add(out, times, values, i);
        return out;
    }

    out.reserve(4 * static_cast<std::size_t>(buckets) + 2);
    Add(out, times, values, first);
    const double width = (t1 - t0) / buckets;
    std::size_t i = first + 1;
    while (i < last) {
        const double bucketEnd = t0 + width * (std::floor((times[i] - t0) / width) + 1);
        const std::size_t start = i;
        std::size_t lo = n, hi = n, a = n, b = n;
        for (; i < last && (i == start || times[i] < bucketEnd); ++i) {
            if (!std::isfinite(values[i])) continue;
            if (a == n) a = i;
            b = i;
            if (lo == n || values[i] < values[lo]) lo = i;
            if (hi == n || values[i] > values[hi]) hi = i;
        }
        if (a == n) continue;
        std::size_t picked[4] = {a, lo, hi, b};
        std::sort(picked, picked + 4);
        for (int k = 0; k < 4; ++k)
            if (k == 0 || picked[k] != picked[k - 1]) Add(out, times, values, picked[k]);
    }
    Add(out, times, values, last);
    return out;
}

double ValueAt(const std::vector<float>& times, const std::vector<float>& values, double t) {
    const std::size_t n = std::min(times.size(), values.size());
    if (n == 0 || !(t >= times[0] && t <= times[n - 1]))
        return std::numeric_limits<double>::quiet_NaN();
    const std::size_t i = std::upper_bound(times.begin(), times.begin() + n, t) - times.begin() - 1;
    if (i + 1 >= n || times[i] == t) return values[i];
    const double f = (t - times[i]) / (times[i + 1] - times[i]);
    return values[i] + f * (static_cast<double>(values[i + 1]) - values[i]);
}

bool FiniteExtent(const std::vector<float>& times, const std::vector<float>& values, double t0,
                  double t1, double& lo, double& hi) {
    const std::size_t n = std::min(times.size(), values.size());
    auto begin = times.begin();
    bool any = false;
    for (std::size_t i = std::lower_bound(begin, begin + n, t0) - begin; i < n && times[i] <= t1;
         ++i) {
        const double v = values[i];
        if (!std::isfinite(v)) continue;
        if (!any || v < lo) lo = v;
        if (!any || v > hi) hi = v;
        any = true;
    }
    return any;
}
