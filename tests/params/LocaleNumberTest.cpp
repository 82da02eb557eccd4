#include <gtest/gtest.h>

#include "params/LocaleNumber.h"

namespace {

TEST(LocaleNumber, ShowsTheFileFormWithTheUsersSeparator) {
    EXPECT_EQ(FormatLocaleReal(2.5, ','), "2,5");
    EXPECT_EQ(FormatLocaleReal(2.5, '.'), "2.5");
    EXPECT_EQ(FormatLocaleReal(10, ','), "10");
    EXPECT_EQ(FormatLocaleReal(1e-5, ','), "1E-5");
    EXPECT_EQ(FormatLocaleReal(-0.125, ','), "-0,125");
    EXPECT_EQ(FormatLocaleReal(1.0 / 3.0, ','), "0,333333333333333");
}

TEST(LocaleNumber, ReadsOnlyWholeNumbersInTheUsersSyntax) {
    double v = -1;
    EXPECT_TRUE(ParseLocaleReal("1,5", ',', v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    EXPECT_TRUE(ParseLocaleReal("  -2,5E-3 ", ',', v));
    EXPECT_DOUBLE_EQ(v, -0.0025);
    EXPECT_TRUE(ParseLocaleReal("1.5", '.', v));
    EXPECT_DOUBLE_EQ(v, 1.5);
    EXPECT_TRUE(ParseLocaleReal("+7", '.', v));
    EXPECT_DOUBLE_EQ(v, 7);

    v = 42;
    for (const char* bad :
         {"", "   ", "abc", "1.5", "1,5,", "12abc", "1e", "inf", "nan", "1e999", "--1", "1 2", ","})
        EXPECT_FALSE(ParseLocaleReal(bad, ',', v)) << bad;
    EXPECT_FALSE(ParseLocaleReal("1,5", '.', v));
    EXPECT_DOUBLE_EQ(v, 42);
}

} // namespace
