#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TInfoConnector.h"
#include "support/RunFiles.h"
#include "support/TempDir.h"
#include "support/TestSignal.h"

namespace {

using Signal = std::function<double(double)>;

struct DomainCase {
    const char* cls;
    std::vector<Signal> inputs;      // of the model time, one per block input
    double failsAt;                  // when the inputs leave the domain
    std::function<double(double)> f; // the block's function of its first input (one-input blocks)
};

// Runs the block fed by the signals for 2 s of model time in steps of 1 ms
// with a sample every 0.1 s, and checks that the run stops where the inputs
// leave the domain, naming the block, with every earlier sample written.
void ExpectStoppedAt(const DomainCase& c) {
    SCOPED_TRACE(c.cls);
    Schematic sheet;
    TempDir dir;
    auto* block = dynamic_cast<TStatic*>(CreateElementByName(sheet, c.cls));
    block->Left = 200;
    block->Top = 40;
    for (std::size_t i = 0; i < c.inputs.size(); ++i)
        block->FInputs[i]->SetSource(
            PlaceTestSignal(sheet, c.inputs[i], 40, 40 + 60 * int(i))->Output);
    sheet.RunSettings.T = 2.0;
    sheet.RunSettings.h = 0.001;
    sheet.RunSettings.GS = 0.1;
    const TRunResult result = RunInto(sheet, dir.Path().string());
    const std::vector<TGrafRow> rows = ReadGrafRows(dir.File("graf.dat"));

    ASSERT_EQ(result.Status, TRunResult::Outcome::InvalidValue);
    EXPECT_EQ(result.Culprit, block);
    EXPECT_NEAR(result.FailureTime, c.failsAt, 0.0011);
    EXPECT_NE(result.Message.find("элемента " + block->Name() + " №0"), std::string::npos)
        << result.Message;
    EXPECT_NE(result.Message.find("при t = "), std::string::npos) << result.Message;

    const int expected = int(std::floor(c.failsAt / 0.1)) + 1;
    ASSERT_EQ(int(rows.size()), expected);
    EXPECT_EQ(result.Samples, expected);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const TGrafRow& row = rows[i];
        EXPECT_NEAR(row.Time, 0.1 * double(i), 0.0011);
        ASSERT_EQ(row.Values.size(), 1u); // the block's output alone
        if (c.f) {
            EXPECT_NEAR(row.Values[0], c.f(c.inputs[0](row.Time)), 1e-4) << row.Time;
        }
    }
}

Signal Ramp(double start, double slope) {
    return [=](double t) { return start + slope * t; };
}

TEST(DomainErrors, LogarithmsOfZeroAndBelowStopTheRun) {
    ExpectStoppedAt({"TSln", {Ramp(0.95, -1)}, 0.95, [](double x) { return std::log(x); }});
    ExpectStoppedAt({"TSlg", {Ramp(0.55, -1)}, 0.55, [](double x) { return std::log10(x); }});
}

TEST(DomainErrors, SquareRootOfANegativeNumberStopsTheRun) {
    ExpectStoppedAt({"TSsqrt", {Ramp(1.25, -1)}, 1.25, [](double x) { return std::sqrt(x); }});
}

TEST(DomainErrors, ArcSineAndArcCosineBeyondOneStopTheRun) {
    ExpectStoppedAt({"TSasin", {Ramp(0.45, 1)}, 0.55, [](double x) { return std::asin(x); }});
    ExpectStoppedAt({"TSacos", {Ramp(-0.25, -1)}, 0.75, [](double x) { return std::acos(x); }});
}

TEST(DomainErrors, ExponentOverflowStopsTheRun) {
    // e^x overflows past x = 709.78.
    ExpectStoppedAt(
        {"TSexp", {[](double t) { return t < 0.65 ? 2.0 - t : 710.0; }}, 0.65, [](double x) {
             return std::exp(x);
         }});
}

TEST(DomainErrors, DividerStopsWhenItsDivisorInputIsMinusOneThousandth) {
    ExpectStoppedAt({"TDivideningJunction",
                     {Ramp(1, 0), [](double t) { return t < 0.35 ? 0.0 : -0.001; }},
                     0.35,
                     nullptr});
}

TEST(DomainErrors, AnUnlinkedLogarithmFailsAtOnce) {
    Schematic sheet;
    TempDir dir;
    TBaseElement* ln = CreateElementByName(sheet, "TSln");
    const TRunResult result = RunInto(sheet, dir.Path().string());
    ASSERT_EQ(result.Status, TRunResult::Outcome::InvalidValue);
    EXPECT_EQ(result.Culprit, ln);
    EXPECT_EQ(result.FailureTime, 0.0);
    EXPECT_EQ(result.Message,
              "Недопустимое значение (не число или бесконечность) у элемента Sln №0 при t = 0 с. "
              "Моделирование остановлено.");
    EXPECT_TRUE(ReadGrafRows(dir.File("graf.dat")).empty());
}

} // namespace
