#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TInfoConnector.h"
#include "support/TestElements.h"

namespace {

using Points = std::vector<TPoint>;

std::vector<Points> Shapes(const std::vector<TPrimitive>& prims) {
    std::vector<Points> out;
    for (const TPrimitive& p : prims)
        out.push_back(p.Points);
    return out;
}

// TTestBlock's output box is at (48, 19), its input box at (0, 19).
struct Block {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTestBlock");
    TInfoOutput* out = e->FOutputs[0];
    TInfoInput* in = e->FInputs[0];
};

TEST(SignalPinPaint, OutputsDrawATrianglePointingAlongTheAngleAndALine) {
    Block b;
    b.out->SetCurrentAngleValue(0);
    EXPECT_EQ(Shapes(b.out->Paint()),
              (std::vector<Points>{{{49, 20}, {57, 25}, {49, 30}}, {{60, 25}, {48, 25}}}));
    b.out->SetCurrentAngleValue(90);
    EXPECT_EQ(Shapes(b.out->Paint()),
              (std::vector<Points>{{{50, 21}, {55, 29}, {60, 21}}, {{54, 19}, {54, 31}}}));
    b.out->SetCurrentAngleValue(180);
    EXPECT_EQ(Shapes(b.out->Paint()),
              (std::vector<Points>{{{59, 20}, {51, 25}, {59, 30}}, {{48, 25}, {60, 25}}}));
    b.out->SetCurrentAngleValue(270);
    EXPECT_EQ(Shapes(b.out->Paint()),
              (std::vector<Points>{{{49, 30}, {54, 22}, {59, 30}}, {{54, 31}, {54, 19}}}));
    const std::vector<TPrimitive> prims = b.out->Paint();
    EXPECT_EQ(prims[0].Kind, TPrimitiveKind::Polygon);
    EXPECT_TRUE(prims[0].Brush.Filled);
    EXPECT_EQ(prims[0].Brush.Color, clBlack);
    EXPECT_EQ(prims[1].Kind, TPrimitiveKind::Line);
    EXPECT_EQ(prims[1].Pen.Color, clBlack);
}

TEST(SignalPinPaint, InputsDrawALineAlongTheAngle) {
    Block b;
    const std::vector<std::pair<int, Points>> expected{
        {0, {{0, 25}, {12, 25}}},
        {90, {{6, 31}, {6, 19}}},
        {180, {{12, 25}, {0, 25}}},
        {270, {{6, 19}, {6, 31}}},
    };
    for (const auto& [angle, line] : expected) {
        b.in->SetCurrentAngleValue(angle);
        EXPECT_EQ(Shapes(b.in->Paint()), (std::vector<Points>{line})) << angle;
    }
}

TEST(SignalPinPaint, AnglesAreReducedAndSlantedPinsDrawNothing) {
    Block b;
    b.in->SetCurrentAngleValue(450);
    EXPECT_EQ(Shapes(b.in->Paint()), (std::vector<Points>{{{6, 31}, {6, 19}}}));
    b.out->SetCurrentAngleValue(45);
    EXPECT_TRUE(b.out->Paint().empty());
}

TEST(SignalPinPaint, TheElementPaintsItsTurnedPins) {
    Block b;
    const std::size_t pictureItems = b.e->Image()->Primitives().size();
    EXPECT_EQ(b.e->Paint().size(), pictureItems + 3);
    b.e->SetAngle(90);
    // Block 60 x 50: the output moves to (24, 36) pointing down, the input to
    // (24, 2) taking the signal downwards.
    const std::vector<Points> shapes = Shapes(b.e->Paint());
    const std::vector<Points> pins(shapes.begin() + std::ptrdiff_t(pictureItems), shapes.end());
    EXPECT_EQ(pins,
              (std::vector<Points>{
                  {{30, 14}, {30, 2}}, {{26, 38}, {31, 46}, {36, 38}}, {{30, 36}, {30, 48}}}));
}

} // namespace
