#include <gtest/gtest.h>

#include "blocks/CoefficientList.h"

namespace {

using V = std::vector<double>;

TEST(CoefficientList, TextIsShortestGeneralFormSeparatedByOneSpace) {
    EXPECT_EQ(CoefficientListText({1.0, 1.0}), "1 1");
    EXPECT_EQ(CoefficientListText({0.5, -2.25, 1e-5, 3e20}), "0.5 -2.25 1E-5 3E20");
    // Exact: the text reads back to the same double.
    EXPECT_EQ(CoefficientListText({0.1 + 0.2}), "0.30000000000000004");
    EXPECT_EQ(CoefficientListText({}), "");
}

TEST(CoefficientList, TheFileReaderTakesOnlyWholeFiniteNumbers) {
    V values{7};
    EXPECT_TRUE(ReadCoefficientList("  1 -2.5  3e2 ", values));
    EXPECT_EQ(values, (V{1, -2.5, 300}));
    for (const char* bad : {"1 2x", "1,5", "--1", "inf", "1 nan", "1e309"}) {
        values = {7};
        EXPECT_FALSE(ReadCoefficientList(bad, values)) << bad;
        EXPECT_EQ(values, V{7}) << bad;
    }
}

TEST(CoefficientList, ParsingCountsGroupsAndReadsTheNumbersInOrder) {
    EXPECT_EQ(ParseCoefficientList("1 2 3"), (V{1, 2, 3}));
    EXPECT_EQ(ParseCoefficientList("2  3"), (V{2, 3}));
    EXPECT_EQ(ParseCoefficientList("   -1.5e1   .25 "), (V{-15, 0.25}));
    EXPECT_EQ(ParseCoefficientList(""), V{});
    EXPECT_EQ(ParseCoefficientList("    "), V{});
}

TEST(CoefficientList, ReadingStopsAtTheFirstGroupThatIsNoNumber) {
    // Three groups: the list has three elements, only those before the
    // stray text are read.
    EXPECT_EQ(ParseCoefficientList("4 x 5"), (V{4, 0, 0}));
    EXPECT_EQ(ParseCoefficientList("abc def"), (V{0, 0}));
    // A number glued to text ends the reading at the text.
    EXPECT_EQ(ParseCoefficientList("7x 8"), (V{7, 0}));
}

TEST(CoefficientList, TextAndParsingRoundTrip) {
    const V values{3.14159265358979, -0.001, 42, 6.02214076e23};
    EXPECT_EQ(ParseCoefficientList(CoefficientListText(values)), values);
}

TTransferCoefficients Normalised(V num, V den, V ic = {}) {
    TTransferCoefficients c{std::move(num), std::move(den), std::move(ic)};
    NormaliseTransferFunction(c);
    return c;
}

TEST(TransferNormalisation, LeadingZerosOfTheDenominatorAreDropped) {
    EXPECT_EQ(Normalised({1}, {0, 0, 2, 4}).Den, (V{2, 4}));
    EXPECT_EQ(Normalised({1}, {1, 0, 1}).Den, (V{1, 0, 1}));
    EXPECT_EQ(Normalised({1}, {0, 0}).Den, V{});
}

TEST(TransferNormalisation, NumeratorLosesPowersAboveTheDenominatorAndLeadingZeros) {
    EXPECT_EQ(Normalised({1, 2, 3}, {1, 1}).Num, (V{2, 3}));
    EXPECT_EQ(Normalised({0, 0, 5}, {1, 2, 3}).Num, (V{5}));
    // After the cut, zeros at the new head go as well.
    EXPECT_EQ(Normalised({9, 0, 7}, {1, 1}).Num, (V{7}));
    // The cut uses the denominator's length after its own zeros are gone.
    EXPECT_EQ(Normalised({1, 2, 3}, {0, 1, 1}).Num, (V{2, 3}));
    EXPECT_EQ(Normalised({0, 0}, {1, 1}).Num, V{});
}

TEST(TransferNormalisation, InitialValuesAreCutToTheDenominatorLength) {
    EXPECT_EQ(Normalised({1}, {1, 3, 2}, {5, 6, 7, 8}).IC, (V{5, 6, 7}));
    EXPECT_EQ(Normalised({1}, {1, 3, 2}, {5}).IC, (V{5}));
}

TEST(TransferNormalisation, DenominatorWithoutNonZeroIsUnusable) {
    EXPECT_FALSE(DenominatorUsable({}));
    EXPECT_FALSE(DenominatorUsable({0, 0, 0}));
    EXPECT_TRUE(DenominatorUsable({0, 1e-300}));
}

} // namespace
