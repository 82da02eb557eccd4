#include <gtest/gtest.h>

#include "app/Zoom.h"

namespace {

TEST(Zoom, StepsThroughTheLevelsAndStopsAtTheEnds) {
    TZoom z;
    EXPECT_EQ(z.Scale(), 1);
    z.In();
    EXPECT_EQ(z.Scale(), 1.25);
    for (int i = 0; i < 20; ++i) z.In();
    EXPECT_EQ(z.Scale(), 4);
    z.Out();
    EXPECT_EQ(z.Scale(), 3);
    z.Set(0.8);  // between levels: the next ones either way
    z.Out();
    EXPECT_EQ(z.Scale(), 0.75);
    z.Set(0.8);
    z.In();
    EXPECT_EQ(z.Scale(), 1);
    for (int i = 0; i < 20; ++i) z.Out();
    EXPECT_EQ(z.Scale(), 0.25);
    z.Set(100);
    EXPECT_EQ(z.Scale(), 4);
}

TEST(Zoom, AViewPointMapsBackToTheSheetAndScrollingKeepsItInPlace) {
    TZoom z;
    z.Set(2);
    EXPECT_EQ(z.ToSheet(301, 99), (TPoint{150, 49}));
    z.Set(0.5);
    EXPECT_EQ(z.ToSheet(301, 99), (TPoint{602, 198}));
    // Sheet point (602, 198) under viewport point (40, 30): the sheet widget
    // starts 261 and 69 view pixels before the viewport, at 0.5.
    EXPECT_EQ(z.ScrollFor(602, 40), 261);
    EXPECT_EQ(z.ScrollFor(198, 30), 69);
    // And the point seen there is the same sheet point again.
    EXPECT_EQ(z.ToSheet(z.ScrollFor(602, 40) + 40, z.ScrollFor(198, 30) + 30), (TPoint{602, 198}));
}

TEST(Zoom, FitTakesTheTighterDirection) {
    TZoom z;
    z.Fit({100, 100, 500, 300}, 800, 800);  // 400 x 200 into 800 x 800: twice
    EXPECT_EQ(z.Scale(), 2);
    z.Fit({0, 0, 4000, 1000}, 800, 600);  // 0.2 is below the smallest level
    EXPECT_EQ(z.Scale(), 0.25);
    z.Fit({0, 0, 1000, 3000}, 900, 600);
    EXPECT_DOUBLE_EQ(z.Scale(), 0.25);
    z.Fit({0, 0, 1000, 1000}, 900, 600);
    EXPECT_DOUBLE_EQ(z.Scale(), 0.6);
}

} // namespace
