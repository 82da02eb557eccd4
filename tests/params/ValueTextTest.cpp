#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "params/Units.h"
#include "params/ValueText.h"

namespace {

TEST(FormatReal, GeneralFormWithFifteenDigitsAndShortExponents) {
    EXPECT_EQ(FormatReal(1e-5), "1E-5");
    EXPECT_EQ(FormatReal(0.0001), "0.0001");
    EXPECT_EQ(FormatReal(1000000000), "1000000000");
    EXPECT_EQ(FormatReal(1e15), "1E15");
    EXPECT_EQ(FormatReal(123456789012345.0), "123456789012345");
    EXPECT_EQ(FormatReal(0.1 + 0.2), "0.3");
    EXPECT_EQ(FormatReal(-2.5), "-2.5");
    EXPECT_EQ(FormatReal(0), "0");
    EXPECT_EQ(FormatReal(1.0 / 3.0), "0.333333333333333");
    EXPECT_EQ(FormatReal(6.283185307179586), "6.28318530717959");
    EXPECT_EQ(FormatReal(-1.5e-12), "-1.5E-12");
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
    ParseValueText("0.5,3", v);
    EXPECT_DOUBLE_EQ(v.Value, 0.5);
    EXPECT_EQ(v.Unit, 3);
    ParseValueText("7", v);
    EXPECT_DOUBLE_EQ(v.Value, 7);
    EXPECT_EQ(v.Unit, 3);
    // No number: the comma does not follow one, so the unit stays.
    ParseValueText("x,1", v);
    EXPECT_DOUBLE_EQ(v.Value, 0);
    EXPECT_EQ(v.Unit, 3);
    ParseValueText(",1", v);
    EXPECT_DOUBLE_EQ(v.Value, 0);
    EXPECT_EQ(v.Unit, 1);
}

TEST(ValueText, UnitIndexOutsideTheTableKeepsTheDefaultUnit) {
    ParamValue v{0, 0, &VoltageRow};
    ParseValueText("5,17", v);
    EXPECT_DOUBLE_EQ(v.Value, 5);
    EXPECT_EQ(v.Unit, 2);
    v.Unit = 0;
    ParseValueText("5,-1", v);
    EXPECT_EQ(v.Unit, 2);
    ParamValue p{0, 0, &PlainRow};
    ParseValueText("3,2", p);
    EXPECT_EQ(p.Unit, 0);
    EXPECT_DOUBLE_EQ(UnitFactor(p), 1.0);
}

} // namespace
