// The dump's numbers are formatted without printf for speed; printf itself
// is the reference they must match, character for character.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "Simulation/Outputs.h"
#include "support/TempDir.h"

namespace {

std::string Printf(double v, int precision, int width) {
    char text[512];
    std::snprintf(text, sizeof text, "%*.*f", width, precision, v);
    return text;
}

std::string Fixed(double v, int precision, int width) {
    std::string s;
    AppendFixed(s, v, precision, width);
    return s;
}

TEST(AppendFixed, WritesWhatPrintfWritesForEveryKindOfNumber) {
    const double inf = std::numeric_limits<double>::infinity();
    const double special[] = {0.0,     -0.0,    0.00005, -0.00005, 0.00004999, -0.00004999, 0.5,
                              1.00005, 2.5e-5,  123456789.12345, -987654321.98765, 1e20, -1e300,
                              5e-324,  inf,     -inf,    std::nan(""), -std::nan(""),
                              std::numeric_limits<double>::max()};
    for (double v : special)
        for (int precision : {4, 8})
            for (int width : {0, 9})
                EXPECT_EQ(Fixed(v, precision, width), Printf(v, precision, width))
                    << v << " %" << width << "." << precision << "f";

    // Half-way cases in binary and random magnitudes across the range a
    // run's unknowns take.
    std::mt19937_64 rng(42);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-12, 12);
    for (int i = 0; i < 20000; ++i) {
        const double v = mantissa(rng) * std::pow(10.0, exponent(rng));
        ASSERT_EQ(Fixed(v, 4, 9), Printf(v, 4, 9)) << v;
        ASSERT_EQ(Fixed(v, 8, 0), Printf(v, 8, 0)) << v;
    }
    for (int k = -20000; k <= 20000; ++k) {
        const double v = k / 16384.0;  // exact binary fractions, many ending in 5
        ASSERT_EQ(Fixed(v, 4, 9), Printf(v, 4, 9)) << v;
    }
}

TEST(AppendFixed, AppendsToWhatIsThere) {
    std::string s = "t=";
    AppendFixed(s, 1.5, 2, 6);
    EXPECT_EQ(s, "t=  1.50");
}

TEST(WriteResultFiles, TheDumpHoldsEachSampleInThePrintfLayout) {
    TempDir dir;
    TSampleStore store(3, 1, 1, 2, 2);
    store.Add(0.0, {1.25}, {-2.5}, {3.0, -0.00004}, {10.0, 123456.789});
    store.Add(1e-4, {0.1}, {0.2}, {0.3, 0.4}, {0.5, 0.6});
    WriteResultFiles(dir.Path().string(), store, 1, 1, 2, 2e-4, 1e-4);

    std::ifstream in(dir.File("graf.dat"), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    std::string expected;
    for (std::size_t i = 0; i < store.Count(); ++i) {
        const double* row = store.Row(i);
        char part[512];
        std::snprintf(part, sizeof part, "%.8f  ", store.Time(i));
        expected += part;
        for (int k = 0; k < 4; ++k) {
            std::snprintf(part, sizeof part, "%9.4f  ", row[k]);
            expected += part;
        }
        expected += "    ";
        for (int k = 4; k < 6; ++k) {
            std::snprintf(part, sizeof part, "%9.4f  ", row[k]);
            expected += part;
        }
        expected += "\n";
    }
    EXPECT_EQ(text.str(), expected);
}

} // namespace
