#include <gtest/gtest.h>

#include <cmath>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TInfoConnector.h"
#include "support/RunFiles.h"
#include "support/TempDir.h"
#include "support/TestSignal.h"

namespace {

TStatic* Place(Schematic& sheet, const char* cls, int left, int top) {
    auto* b = dynamic_cast<TStatic*>(CreateElementByName(sheet, cls));
    b->Left = left;
    b->Top = top;
    return b;
}

// y = 1 + 0.5·y through a summing and a multiplying junction: the Newton
// solve finds y = 2 at every step, the first included.
TEST(NonlinearRuns, AlgebraicLoopThroughTwoJunctionsConvergesFromTheFirstStep) {
    Schematic sheet;
    TempDir dir;
    TStatic* sum = Place(sheet, "TSummingJunction", 200, 40);
    TStatic* product = Place(sheet, "TMultiplyingJunction", 200, 140);
    sum->FInputs[0]->SetSource(PlaceTestSignal(sheet, [](double) { return 1.0; })->Output);
    sum->FInputs[1]->SetSource(product->Output);
    product->FInputs[0]->SetSource(PlaceTestSignal(
                                       sheet, [](double) { return 0.5; }, 40, 140)
                                       ->Output);
    product->FInputs[1]->SetSource(sum->Output);
    sheet.RunSettings.T = 0.01;
    sheet.RunSettings.h = 0.001;
    sheet.RunSettings.GS = 0.001;
    const TRunResult result = RunInto(sheet, dir.Path().string());
    ASSERT_EQ(result.Status, TRunResult::Outcome::Finished);
    const auto rows = ReadGrafRows(dir.File("graf.dat"));
    ASSERT_EQ(rows.size(), 10u);
    for (const TGrafRow& row : rows) {
        ASSERT_EQ(row.Values.size(), 2u);
        EXPECT_DOUBLE_EQ(row.Values[0], 2.0);
        EXPECT_DOUBLE_EQ(row.Values[1], 1.0);
    }
    // Linear in its unknowns: one Newton update in the first step, and every
    // later step starts from the solution.
    EXPECT_EQ(result.Iterations, 1);
}

// The output of a two-level hysteresis stepped through the input samples,
// starting low, independent of the block's code.
std::vector<double> ReferenceHysteresis(const std::vector<double>& inputs, double Hx, double Lx,
                                        double Hy, double Ly) {
    std::vector<double> out;
    bool high = false;
    for (double x : inputs) {
        if (!high && x > Hx)
            high = true;
        else if (high && x <= Lx)
            high = false;
        out.push_back(high ? Hy : Ly);
    }
    return out;
}

TEST(NonlinearRuns, HysteresisFollowsASineAndEveryRunStartsAlike) {
    Schematic sheet;
    TempDir first, second;
    TStatic* hyst = Place(sheet, "TGisteresis", 200, 40);
    hyst->FindParam("H_x")->Value = 0.5;
    hyst->FindParam("L_x")->Value = -0.5;
    hyst->FindParam("H_y")->Value = 3;
    hyst->FindParam("L_y")->Value = -2;
    const double w = 2 * 3.141592653589793;
    auto sine = [w](double t) { return std::sin(w * t); };
    hyst->FInputs[0]->SetSource(PlaceTestSignal(sheet, sine)->Output);
    sheet.RunSettings.T = 2.0;
    sheet.RunSettings.h = 0.001;
    sheet.RunSettings.GS = 0.01;
    ASSERT_EQ(RunInto(sheet, first.Path().string()).Status, TRunResult::Outcome::Finished);
    ASSERT_EQ(RunInto(sheet, second.Path().string()).Status, TRunResult::Outcome::Finished);
    const auto rows = ReadGrafRows(first.File("graf.dat"));
    ASSERT_EQ(rows.size(), 200u); // the loop ends before t = 2

    // The block sees the sine at every step; compare at the samples.
    std::vector<double> steps, times;
    for (double t = 0; t < 2.0; t += 0.001) {
        steps.push_back(sine(t));
        times.push_back(t);
    }
    const auto expected = ReferenceHysteresis(steps, 0.5, -0.5, 3, -2);
    int switches = 0;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        std::size_t k = 0;
        while (k + 1 < times.size() && times[k] < rows[i].Time - 1e-9)
            ++k;
        EXPECT_EQ(rows[i].Values[0], expected[k]) << rows[i].Time;
        if (i > 0 && rows[i].Values[0] != rows[i - 1].Values[0]) ++switches;
    }
    // Up at 1/12 period past each zero, down likewise: four changes in two periods.
    EXPECT_EQ(switches, 4);
    EXPECT_EQ(rows.front().Values[0], -2.0);

    const auto again = ReadGrafRows(second.File("graf.dat"));
    ASSERT_EQ(again.size(), rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i)
        EXPECT_EQ(again[i].Values, rows[i].Values);
}

TEST(NonlinearRuns, RelayFollowsTheSignOfASine) {
    Schematic sheet;
    TempDir dir;
    TStatic* relay = Place(sheet, "TRelay", 200, 40);
    auto sine = [](double t) { return std::sin(2 * 3.141592653589793 * t + 0.3); };
    relay->FInputs[0]->SetSource(PlaceTestSignal(sheet, sine)->Output);
    sheet.RunSettings.T = 1.0;
    sheet.RunSettings.h = 0.001;
    sheet.RunSettings.GS = 0.01;
    ASSERT_EQ(RunInto(sheet, dir.Path().string()).Status, TRunResult::Outcome::Finished);
    for (const TGrafRow& row : ReadGrafRows(dir.File("graf.dat")))
        EXPECT_EQ(row.Values[0], sine(row.Time) >= 0 ? 1.0 : -1.0) << row.Time;
}

} // namespace
