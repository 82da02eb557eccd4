#include <gtest/gtest.h>

#include <cmath>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

// A 1 Hz unit sine into a relay and into a hysteresis switching at ±0.5;
// three plotters show the sine and both outputs.
void BuildRelayHysteresis(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 2.0;
    m.h = 1e-3;
    m.GS = 1e-2;
    auto* sine = b.PlaceBox("TSinusoid", 60, 140);
    auto* relay = b.PlaceBox("TRelay", 200, 60);
    auto* hyst = b.PlaceBox("TGisteresis", 200, 160);
    ExampleBuilder::Set(hyst, "H_x", 0.5);
    ExampleBuilder::Set(hyst, "L_x", -0.5);
    auto* plotSine = b.PlaceBox("TPlotter", 200, 300);
    auto* plotRelay = b.PlaceBox("TPlotter", 360, 60);
    auto* plotHyst = b.PlaceBox("TPlotter", 360, 200);
    b.Link(sine, relay);
    b.Link(sine, hyst);
    b.Link(sine, plotSine);
    b.Link(relay, plotRelay);
    b.Link(hyst, plotHyst);
}

// y = 1 + 0.5·y: a constant 1 and a gain of 0.5 fed back into a summing
// junction; a display shows y.
void BuildAlgebraicLoop(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.01;
    m.h = 1e-3;
    m.GS = 1e-3;
    auto* one = b.PlaceBox("TConst", 60, 60);
    auto* sum = b.PlaceBox("TSummingJunction", 180, 60);
    // The feedback gain is turned to face left, so the loop reads as a ring.
    auto* gain = b.PlaceBox("TGain", 200, 200);
    gain->SetAngle(180);
    ExampleBuilder::Set(gain, "K", 0.5);
    auto* display = b.PlaceBox("TDisplay", 320, 60);
    b.Link(one, sum, 0);
    b.Link(gain, sum, 1);
    b.Link(sum, gain);
    b.Link(sum, display);
}

const std::vector<ExampleGenerator> examples = {
    {"relay_hysteresis.dvn", &BuildRelayHysteresis},
    {"algebraic_loop.dvn", &BuildAlgebraicLoop},
};

TEST(NonlinearBlockExamples, GeneratorsReproduceTheCommittedFiles) { ExpectGeneratorsReproduce(examples); }

TEST(NonlinearBlockExamples, RelayAndHysteresisFollowTheSine) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("relay_hysteresis.dvn", 3);
    ASSERT_EQ(rows.size(), 200u);
    // Plotters in creation order: the sine, the relay, the hysteresis. The
    // hysteresis starts low and changes state at the steps where the sine
    // passes +0.5 upwards and -0.5 downwards, stepped here independently.
    bool high = false;
    double t = 0;
    std::size_t next = 0;
    const double w = 2 * 3.141592653589793;
    for (long step = 0; next < rows.size(); ++step, t += 1e-3) {
        const double x = std::sin(w * t);
        if (!high && x > 0.5)
            high = true;
        else if (high && x <= -0.5)
            high = false;
        if (std::abs(rows[next][0] - t) > 5e-4) continue;
        const auto& row = rows[next++];
        EXPECT_NEAR(row[1], x, 1e-4) << t;
        EXPECT_EQ(row[2], x >= 0 ? 1.0 : -1.0) << t;
        EXPECT_EQ(row[3], high ? 1.0 : -1.0) << t;
    }
    EXPECT_EQ(next, rows.size());
}

TEST(NonlinearBlockExamples, AlgebraicLoopGivesTwoFromTheFirstStep) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("algebraic_loop.dvn", 1);
    ASSERT_EQ(rows.size(), 10u);
    for (const auto& row : rows)
        EXPECT_EQ(row[1], 2.0) << row[0];
}

} // namespace
