#include <gtest/gtest.h>

#include "Simulation/TMatrix.h"
#include "Simulation/TValue.h"
#include "model/TBaseElement.h"

namespace {

// A getter that returns a new number at every call.
int calls = 0;
double Counter(TBaseElement*) { return ++calls; }

TMatrix Make(int y, int x, std::initializer_list<double> values) {
    TMatrix m(y, x);
    int i = 0;
    for (double v : values) m.At(i++) = v;
    return m;
}

TEST(Value, StaticAndDynamicReads) {
    TValue a;
    EXPECT_EQ(a.Type, TValue::Static);
    EXPECT_EQ(a.Value(), 0.0);
    TValue b = 2.5;
    EXPECT_EQ(b.Value(), 2.5);
    calls = 0;
    TValue d(nullptr, &Counter);
    EXPECT_TRUE(d.IsDynamic());
    EXPECT_EQ(d.Value(), 1.0);
    EXPECT_EQ(d.Value(), 2.0);  // nothing is cached
    TValue copy = d;
    EXPECT_TRUE(copy.IsDynamic());
    EXPECT_EQ(copy.Value(), 3.0);
    copy = 7.0;
    EXPECT_FALSE(copy.IsDynamic());
}

TEST(Matrix, EmptyShapesConstructCopyAddAndMultiply) {
    TMatrix e00(0, 0);
    TMatrix e30(3, 0);
    TMatrix copy(e30);
    EXPECT_EQ(copy.ysize, 3);
    EXPECT_EQ(copy.xsize, 0);
    TMatrix assigned;
    assigned = e00;
    EXPECT_EQ(assigned.ysize, 0);
    const TMatrix sum = e30 + copy;
    EXPECT_EQ(sum.ysize, 3);
    const TMatrix prod = e30 * TMatrix(0, 2);
    ASSERT_EQ(prod.ysize, 3);
    ASSERT_EQ(prod.xsize, 2);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(prod.At(i).Value(), 0.0);
}

TEST(Matrix, AssignmentResizesTheTarget) {
    TMatrix target(3, 1);
    target = Make(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(target.ysize, 2);
    EXPECT_EQ(target.xsize, 2);
    EXPECT_EQ(target(1, 0).Value(), 3.0);
}

TEST(Matrix, ArithmeticAgainstHandResults) {
    const TMatrix A = Make(2, 3, {1, 2, 3, 4, 5, 6});
    const TMatrix B = Make(3, 2, {7, 8, 9, 10, 11, 12});
    const TMatrix P = A * B;  // [[58, 64], [139, 154]]
    EXPECT_EQ(P(0, 0).Value(), 58);
    EXPECT_EQ(P(0, 1).Value(), 64);
    EXPECT_EQ(P(1, 0).Value(), 139);
    EXPECT_EQ(P(1, 1).Value(), 154);
    const TMatrix T = A.Transposed();
    EXPECT_EQ(T.ysize, 3);
    EXPECT_EQ(T(2, 1).Value(), 6);
    EXPECT_EQ((A - A * 2.0)(1, 2).Value(), -6);
    EXPECT_EQ((-A)(0, 1).Value(), -2);
    EXPECT_EQ((A + A)(1, 1).Value(), 10);
}

TEST(Matrix, LiveElementsAreReadAnewInEveryProductAndResultsAreStatic) {
    calls = 0;
    TMatrix g(1, 1);
    g.At(0) = TValue(nullptr, &Counter);
    const TMatrix one = Make(1, 1, {1});
    const TMatrix first = g * one;
    const TMatrix second = g * one;
    EXPECT_NE(first(0, 0).Value(), second(0, 0).Value());
    EXPECT_FALSE(first(0, 0).IsDynamic());
    const TMatrix copy = g;
    EXPECT_TRUE(copy(0, 0).IsDynamic());
    EXPECT_TRUE(g.Transposed()(0, 0).IsDynamic());
    EXPECT_FALSE((-g)(0, 0).IsDynamic());
}

using MatrixDeathTest = ::testing::Test;

TEST(MatrixDeathTest, ChecksReportTheirTextUnitAndLine) {
    TMatrix m(2, 2);
    EXPECT_DEATH(m[2], "Assertion failed: y>=0 && y<ysize, file Simulation/TMatrix, line [0-9]+");
    EXPECT_DEATH(m[-1], "y>=0 && y<ysize");
    EXPECT_DEATH(TMatrix(2, 1) + TMatrix(1, 2),
                 "Assertion failed: ysize==A.ysize && xsize==A.xsize, file Simulation/TMatrix");
    EXPECT_DEATH(TMatrix(2, 3) * TMatrix(2, 3), "Assertion failed: xsize==A.ysize, file Simulation/TMatrix");
    EXPECT_DEATH(TMatrix(-1, 2), "Assertion failed: x>=0 && y>=0, file Simulation/TMatrix");
    TValue broken;
    broken.Type = 3;
    EXPECT_DEATH((void)broken.Value(), "Assertion failed: Type==Static \\|\\| Type==Dynamic, file Simulation/TValue");
}

} // namespace
