#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "support/BoundModel.h"
#include "StaticFeed.h"
#include "blocks/FunctionBlocks.h"
#include "model/Schematic.h"

namespace {

double Apply(const char* cls, double x) {
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* b = NewStatic<TStatic>(sheet, cls);
    return OutputFor(*b, {x});
}

TEST(FunctionBlocks, ArithmeticGroup) {
    EXPECT_EQ(Apply("TAbs", -2.5), 2.5);
    EXPECT_EQ(Apply("TAbs", 3.0), 3.0);
    EXPECT_EQ(Apply("TSInv", 4.0), -4.0);
    EXPECT_EQ(Apply("TSSign", 0.001), 1.0);
    EXPECT_EQ(Apply("TSSign", -1e-300), -1.0);
    EXPECT_EQ(Apply("TSSign", 0.0), 0.0);
}

TEST(FunctionBlocks, ReciprocalIsZeroNearZero) {
    EXPECT_EQ(Apply("TSVer", 0.00000005), 0.0);
    EXPECT_EQ(Apply("TSVer", -0.00000005), 0.0);
    EXPECT_EQ(Apply("TSVer", 0.0), 0.0);
    EXPECT_DOUBLE_EQ(Apply("TSVer", 0.0000002), 5000000.0);
    EXPECT_DOUBLE_EQ(Apply("TSVer", -4.0), -0.25);
}

// Values of the transcendental functions at points where they are known
// exactly or from tables.
TEST(FunctionBlocks, TranscendentalGroupAtKnownPoints) {
    const double pi = 3.141592653589793;
    EXPECT_NEAR(Apply("Tssin", pi / 6), 0.5, 1e-15);
    EXPECT_NEAR(Apply("TScos", pi / 3), 0.5, 1e-15);
    EXPECT_NEAR(Apply("TStan", pi / 4), 1.0, 1e-15);
    EXPECT_NEAR(Apply("TSasin", 0.5), pi / 6, 1e-15);
    EXPECT_NEAR(Apply("TSacos", 0.5), pi / 3, 1e-15);
    EXPECT_NEAR(Apply("TSatan", 1.0), pi / 4, 1e-15);
    EXPECT_NEAR(Apply("TSsinh", 1.0), 1.1752011936438014, 1e-15);
    EXPECT_NEAR(Apply("TScosh", 1.0), 1.5430806348152437, 1e-15);
    EXPECT_NEAR(Apply("TStanh", 0.5), 0.46211715726000974, 1e-15);
    EXPECT_NEAR(Apply("TSexp", 1.0), 2.718281828459045, 1e-15);
    EXPECT_NEAR(Apply("TSln", 2.718281828459045), 1.0, 1e-15);
    EXPECT_NEAR(Apply("TSlg", 1000.0), 3.0, 1e-15);
    EXPECT_NEAR(Apply("TSsqrt", 2.25), 1.5, 1e-15);
}

// Outside the domain the blocks give what the engine refuses: NaN or an
// infinity, never a plausible number.
TEST(FunctionBlocks, OutsideTheDomainTheOutputIsNotFinite) {
    EXPECT_TRUE(std::isnan(Apply("TSln", -1.0)));
    EXPECT_TRUE(std::isinf(Apply("TSln", 0.0)));
    EXPECT_TRUE(std::isnan(Apply("TSlg", -0.5)));
    EXPECT_TRUE(std::isinf(Apply("TSlg", 0.0)));
    EXPECT_TRUE(std::isnan(Apply("TSsqrt", -1e-9)));
    EXPECT_TRUE(std::isnan(Apply("TSasin", 1.0000001)));
    EXPECT_TRUE(std::isnan(Apply("TSacos", -1.0000001)));
    EXPECT_TRUE(std::isinf(Apply("TSexp", 710.0)));
    EXPECT_TRUE(std::isinf(Apply("TScosh", -800.0)));
    EXPECT_EQ(Apply("TSsqrt", 0.0), 0.0);
    EXPECT_NEAR(Apply("TSasin", 1.0), 3.141592653589793 / 2, 1e-15);
}

TEST(FunctionBlocks, EveryClassReadsItsOwnInput) {
    // Two blocks side by side: each reads the entry at its own input base.
    Schematic sheet;
    BoundModel boundsheet{sheet};  // what the blocks read outside a run
    auto* a = NewStatic<TStatic>(sheet, "TSInv");
    auto* b = NewStatic<TStatic>(sheet, "TAbs");
    b->FInputBase = 1;
    sheet.Run().StaticInputs = {2.0, -3.0};
    EXPECT_EQ(a->GetOutput().Value(), -2.0);
    EXPECT_EQ(b->GetOutput().Value(), 3.0);
    EXPECT_TRUE(a->GetOutput().IsDynamic());
}

} // namespace
