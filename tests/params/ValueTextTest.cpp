#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>

#include "params/Units.h"
#include "params/ValueText.h"

namespace {

TEST(FormatReal, ShortestExactTextInTheGeneralForm) {
    EXPECT_EQ(FormatReal(1e-5), "1E-5");
    EXPECT_EQ(FormatReal(0.0001), "0.0001");
    EXPECT_EQ(FormatReal(1000000000), "1000000000");
    EXPECT_EQ(FormatReal(1e15), "1E15");
    EXPECT_EQ(FormatReal(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatReal(0.3), "0.3");
    EXPECT_EQ(FormatReal(0.1 + 0.2), "0.30000000000000004");
    EXPECT_EQ(FormatReal(-2.5), "-2.5");
    EXPECT_EQ(FormatReal(0), "0");
    EXPECT_EQ(FormatReal(-0.0), "0");
    EXPECT_EQ(FormatReal(1.0 / 3.0), "0.3333333333333333");
    EXPECT_EQ(FormatReal(6.283185307179586), "6.283185307179586");
    EXPECT_EQ(FormatReal(-1.5e-12), "-1.5E-12");
    EXPECT_EQ(FormatReal(5999999999999001.0), "5.999999999999001E15");
    EXPECT_EQ(FormatReal(220), "220");
    EXPECT_EQ(FormatReal(0.01), "0.01");
    EXPECT_EQ(FormatReal(1e-7), "1E-7");
    EXPECT_EQ(FormatReal(1.7976931348623157e308), "1.7976931348623157E308");
    EXPECT_EQ(FormatReal(5e-324), "5E-324");
}

TEST(FormatReal, ShownValuesKeepFifteenDigits) {
    EXPECT_EQ(FormatShownReal(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatShownReal(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatShownReal(1e-5), "1E-5");
}

TEST(FormatReal, EveryDoubleReadsBackExactly) {
    // Random bit patterns, checked with the C library's strtod.
    std::mt19937_64 rng(11);
    for (int i = 0; i < 20000; ++i) {
        double x;
        const std::uint64_t bits = rng();
        std::memcpy(&x, &bits, sizeof x);
        if (!std::isfinite(x)) continue;
        const std::string text = FormatReal(x);
        double y = 0;
        ASSERT_EQ(ParseReal(text, y), text.size()) << text;
        EXPECT_EQ(y, x) << text;
        EXPECT_EQ(std::strtod(text.c_str(), nullptr), x) << text;
    }
}

TEST(ParseReal, CConventionsAndTheLongestPrefix) {
    double v = -1;
    EXPECT_EQ(ParseReal("1E-5,0", v), 4u);
    EXPECT_DOUBLE_EQ(v, 1e-5);
    EXPECT_EQ(ParseReal("  -2.5e3x", v), 8u);
    EXPECT_DOUBLE_EQ(v, -2500);
    EXPECT_EQ(ParseReal("+.5", v), 3u);
    EXPECT_DOUBLE_EQ(v, 0.5);
    EXPECT_EQ(ParseReal("7.", v), 2u);
    EXPECT_DOUBLE_EQ(v, 7);
    v = 42;
    EXPECT_EQ(ParseReal("abc", v), 0u);
    EXPECT_EQ(ParseReal("", v), 0u);
    EXPECT_EQ(ParseReal("-", v), 0u);
    EXPECT_EQ(v, 42);
    EXPECT_EQ(ParseReal("1e999", v), 5u);
    EXPECT_TRUE(std::isinf(v));
    EXPECT_EQ(ParseReal("1e-999", v), 6u);
    EXPECT_EQ(v, 0.0);
}

TEST(ParseReal, FifteenDigitTextsRoundTrip) {
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> mantissa(-10, 10);
    std::uniform_int_distribution<int> exponent(-20, 20);
    for (int i = 0; i < 2000; ++i) {
        const double x = mantissa(rng) * std::pow(10.0, exponent(rng));
        const std::string text = FormatReal(x);
        double y = 0;
        ASSERT_EQ(ParseReal(text, y), text.size()) << text;
        EXPECT_NEAR(y, x, std::abs(x) * 1e-14) << text;
        EXPECT_EQ(FormatReal(y), text);
    }
}

const ParamDef VoltageRow = {"Напряжение", "U", Units::Voltage, 1, 2, 0};
const ParamDef PlainRow = {"Число", "n", nullptr, 1, 0, 0};

TEST(ValueText, NumberWithUnitIndexWhenTheRowHasUnits) {
    ParamValue v{1e-5, 0, &VoltageRow};
    EXPECT_EQ(FormatValueText(v), "1E-5,0");
    ParamValue p{0.7, 0, &PlainRow};
    EXPECT_EQ(FormatValueText(p), "0.7");
    ParamValue big{200, 2, &VoltageRow};
    EXPECT_EQ(FormatValueText(big), "200,2");
}

TEST(ValueText, ReadingSetsValueAndUnitOnlyWhenACommaFollows) {
    ParamValue v{0, 2, &VoltageRow};
    EXPECT_EQ(ParseValueText("0.5,3", v), "");
    EXPECT_DOUBLE_EQ(v.Value, 0.5);
    EXPECT_EQ(v.Unit, 3);
    EXPECT_EQ(ParseValueText("7", v), "");
    EXPECT_DOUBLE_EQ(v.Value, 7);
    EXPECT_EQ(v.Unit, 3);
    EXPECT_EQ(ParseValueText(" 1E-5,0", v), "");
    EXPECT_DOUBLE_EQ(v.Value, 1e-5);
    EXPECT_EQ(v.Unit, 0);
}

TEST(ValueText, TextsThatCannotBeTakenWholeChangeNothing) {
    for (const char* bad : {"x,1", ",1", "", "--5", "1 000,1", "abc", "inf", "nan", "1e309",
                            "-1e309", "5,", "5,1x", "5,--1"}) {
        ParamValue v{3, 1, &VoltageRow};
        EXPECT_FALSE(ParseValueText(bad, v).empty()) << bad;
        EXPECT_EQ(v.Value, 3) << bad;
        EXPECT_EQ(v.Unit, 1) << bad;
    }
    ParamValue v{3, 1, &VoltageRow};
    EXPECT_EQ(ParseValueText("1 000,1", v), "\"1 000,1\" не является числом");
    // A row without units has no ",unit": "0,005" is no number there.
    ParamValue p{3, 0, &PlainRow};
    EXPECT_EQ(ParseValueText("0,005", p), "\"0,005\" не является числом");
    EXPECT_EQ(p.Value, 3);
    // ",0", the base unit, is harmless there and found in databases.
    EXPECT_EQ(ParseValueText("40,0", p), "");
    EXPECT_EQ(p.Value, 40);
    EXPECT_EQ(p.Unit, 0);
}

TEST(ValueText, UnitIndexOutsideTheTableIsRefused) {
    ParamValue v{0, 0, &VoltageRow};
    EXPECT_EQ(ParseValueText("5,17", v), "\"5,17\": нет единицы измерения с номером 17");
    EXPECT_EQ(ParseValueText("5,-1", v), "\"5,-1\": нет единицы измерения с номером -1");
    EXPECT_EQ(ParseValueText("5,99999999999999999999", v),
              "\"5,99999999999999999999\": нет единицы измерения с номером 99999999999999999999");
    EXPECT_EQ(v.Value, 0);
    EXPECT_EQ(v.Unit, 0);
}

TEST(ReadNumbers, OnlyWholeFiniteNumbersAreTaken) {
    double d = 42;
    EXPECT_TRUE(ReadReal(" -2.5e3 ", d));
    EXPECT_EQ(d, -2500);
    EXPECT_TRUE(ReadReal("1e308", d));
    EXPECT_EQ(d, 1e308);
    for (const char* bad : {"", " ", "--5", "+-5", "1 000", "0,005", "abc", "5x", "inf", "-inf",
                            "nan", "1e309", "infinity"}) {
        d = 42;
        EXPECT_FALSE(ReadReal(bad, d)) << bad;
        EXPECT_EQ(d, 42) << bad;
    }
    long n = 7;
    EXPECT_TRUE(ReadInt("-12", n));
    EXPECT_EQ(n, -12);
    EXPECT_TRUE(ReadInt("-9223372036854775808", n));
    EXPECT_EQ(n, std::numeric_limits<long>::min());
    EXPECT_TRUE(ReadInt("9223372036854775807", n));
    EXPECT_EQ(n, std::numeric_limits<long>::max());
    for (const char* bad : {"", "--5", "+-5", "--9223372036854775808", "9223372036854775808",
                            "-9223372036854775809", "1.5", "1 0", "x"}) {
        n = 7;
        EXPECT_FALSE(ReadInt(bad, n)) << bad;
        EXPECT_EQ(n, 7) << bad;
    }
    // The prefix reader refuses a second sign instead of reading "--5" as 5.
    EXPECT_EQ(ParseInt("--5", n), 0u);
    EXPECT_EQ(n, 7);
}

} // namespace
