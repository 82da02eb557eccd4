#include <gtest/gtest.h>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

// A piecewise-linear diode with the model rows of its table entered by hand:
// knee 0.728 V / 0.1 A, 10 A at 1 V, 10 µA at -200 V.
TBaseElement* HandModelDiode(ExampleBuilder& b, TPoint anode) {
    TBaseElement* d = b.Place("TDiode", "Anode", anode, 90);
    d->AutoModel = false;
    d->ResetParams();
    return d;
}

TPoint PinAt(TBaseElement* e, const char* pin) {
    return e->FindConnector(pin)->GetLink();
}

// One loop: source at x, its plus wired to the diode's anode; the cathode to
// ground through an ammeter (with a display) or directly.
void DiodeLoop(ExampleBuilder& b, int x, double emf, bool ammeter, double seriesR) {
    auto* vs = b.Place("TVoltageSource", "Plus", {x, 100});
    ExampleBuilder::Set(vs, "E", emf);
    auto* g1 = b.Place("TGround", "Connector", {x, 200});
    TPoint feed = PinAt(vs, "Plus");
    TBaseElement* r = nullptr;
    if (seriesR > 0) {
        r = b.Place("TResistor", "Connector1", {x + 40, 100});
        ExampleBuilder::Set(r, "R", seriesR);
        b.Drag(vs, "Plus", PinAt(r, "Connector1"));
        feed = PinAt(r, "Connector2");
    }
    TBaseElement* d = HandModelDiode(b, {feed.x + 60, 120});
    b.Drag(r ? r : vs, r ? "Connector2" : "Plus", PinAt(d, "Anode"));
    TPoint bottom = PinAt(d, "Cathode");
    TBaseElement* last = d;
    const char* lastPin = "Cathode";
    if (ammeter) {
        auto* amp = b.Place("TAmper", "Connector1", {bottom.x, bottom.y + 30});
        b.Drag(d, "Cathode", PinAt(amp, "Connector1"));
        b.Link(amp, b.PlaceBox("TDisplay", bottom.x + 30, bottom.y + 30));
        last = amp;
        lastPin = "Connector2";
        bottom = PinAt(amp, "Connector2");
    }
    auto* g2 = b.Place("TGround", "Connector", {bottom.x, bottom.y + 30});
    b.Drag(last, lastPin, PinAt(g2, "Connector"));
    b.Drag(vs, "Minus", PinAt(g1, "Connector"));
}

// The knee, 10 A at 1 V, the reverse current and the 12 V / 1 kΩ operating
// point. Each source's 0.01 Ω and each shunt's 0.01 Ω are allowed for in the
// EMFs so that the diodes sit exactly on their datasheet points.
void BuildDiodePoints(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.001;
    m.h = 1e-4;
    m.GS = 1e-4;
    DiodeLoop(b, 100, 0.728 + 0.1 * 0.02, true, 0);
    DiodeLoop(b, 350, 1.0 + 10 * 0.02, true, 0);
    DiodeLoop(b, 600, -210.0, false, 1e6);
    DiodeLoop(b, 900, 12.0, false, 1000);
}

// Two switches whose control and cathode pins are both on ground: the control
// voltage is exactly 0. The first opens at 0 V and conducts, the second needs
// 1 µV and stays off.
void BuildSwitchThreshold(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = 0.001;
    m.h = 1e-4;
    m.GS = 1e-4;
    for (int i = 0; i < 2; ++i) {
        const int x = 100 + 300 * i;
        auto* vs = b.Place("TVoltageSource", "Plus", {x, 100});
        auto* g1 = b.Place("TGround", "Connector", {x, 200});
        auto* r = b.Place("TResistor", "Connector1", {x + 40, 100});
        auto* sw = b.Place("TSwitch", "Anode", {x + 160, 130});
        ExampleBuilder::Set(sw, "Uopen", i == 0 ? 0.0 : 1e-6);
        sw->AutoModel = false; // keeps Rcontrol at 200 Ω
        const TPoint cathode = PinAt(sw, "Cathode");
        auto* g2 = b.Place("TGround", "Connector", {cathode.x, cathode.y + 40});
        const TPoint control = PinAt(sw, "Control");
        auto* g3 = b.Place("TGround", "Connector", {control.x - 40, cathode.y + 40});
        b.Drag(vs, "Plus", PinAt(r, "Connector1"));
        b.Drag(r, "Connector2", PinAt(sw, "Anode"));
        b.Drag(sw, "Cathode", PinAt(g2, "Connector"));
        b.Drag(sw, "Control", PinAt(g3, "Connector"));
        b.Drag(vs, "Minus", PinAt(g1, "Connector"));
    }
}

const std::vector<ExampleGenerator> examples = {
    {"diode_points.dvn", &BuildDiodePoints},
    {"switch_threshold.dvn", &BuildSwitchThreshold},
};

TEST(NonlinearExamples, GeneratorsReproduceTheCommittedFiles) { ExpectGeneratorsReproduce(examples); }

// A run of an example file, with every pin potential of the last sample.
struct ExampleRun {
    Schematic sheet;
    TempDir dir;
    TRunResult result;
    std::vector<std::vector<double>> rows;
    TRunContext context{sheet, dir.Path().string()};

    explicit ExampleRun(const char* file) {
        EXPECT_EQ(LoadSchematic(sheet, ExamplePath(file)), TLoadResult::Loaded);
        EXPECT_TRUE(PrepareRun(context));
        TRunOptions o;
        o.MaxIterations = 100;
        result = RunSimulation(context, o);
        rows = ReadGrafDat(dir.File("graf.dat"));
    }
    std::vector<TBaseElement*> All(const std::string& cls) const {
        std::vector<TBaseElement*> out;
        for (TBaseElement* e : sheet.Elements)
            if (e->ClassName() == cls) out.push_back(e);
        return out;
    }
    // The pin's potential in the last sample (graf.dat keeps four decimals).
    double Phi(TBaseElement* e, const char* pin) const {
        const TConnector* c = e->FindConnector(pin);
        if (!c || c->FSimNode < 0 || c->FSimNode >= sheet.Run().NodeCount()) return 0.0;
        const int column = 1 + sheet.Run().D.ysize + sheet.Run().F.ysize + c->FSimNode;
        return rows.back()[std::size_t(column)];
    }
    // Consumer inputs of the last sample: the last n numbers.
    double Consumer(int i, int n) const {
        return rows.back()[rows.back().size() - std::size_t(n - i)];
    }
};

TEST(NonlinearExamples, DiodesSitOnTheirDatasheetPoints) {
    RecordingMessages messages;
    ExampleRun run("diode_points.dvn");
    ASSERT_EQ(run.result.Status, TRunResult::Outcome::Finished) << run.result.Message;
    ASSERT_EQ(run.rows.size(), 10u);
    const auto diodes = run.All("TDiode");
    ASSERT_EQ(diodes.size(), 4u);
    auto v = [&](int i) {
        return run.Phi(diodes[std::size_t(i)], "Anode") -
               run.Phi(diodes[std::size_t(i)], "Cathode");
    };
    // Knee: 0.728 V, 0.1 A on both sides of it.
    EXPECT_NEAR(v(0), 0.728, 1e-4);
    EXPECT_NEAR(run.Consumer(0, 2), 0.1, 1e-4);
    // Forward: 10 A at 1 V.
    EXPECT_NEAR(v(1), 1.0, 1e-4);
    EXPECT_NEAR(run.Consumer(1, 2), 10.0, 1e-4);
    // Reverse: -200 V across the diode, 10 V across the 1 MΩ resistor.
    EXPECT_NEAR(v(2), -200.0, 1e-4);
    const auto resistors = run.All("TResistor");
    ASSERT_EQ(resistors.size(), 2u);
    const double reverse =
        (run.Phi(resistors[0], "Connector2") - run.Phi(resistors[0], "Connector1")) / 1e6;
    EXPECT_NEAR(reverse, 1e-05, 1e-9);
    // Operating point: below the knee on Rl = 7.28 Ω, 12 / (1000 + 7.28 + 0.01).
    const double i = 12.0 / (1000 + 7.28 + 0.01);
    EXPECT_NEAR(v(3), i * 7.28, 1e-4);
    EXPECT_NEAR((run.Phi(resistors[1], "Connector1") - run.Phi(resistors[1], "Connector2")) / 1000,
                i, 1e-7);
    EXPECT_NEAR(i, 0.0119, 0.0001);
}

TEST(NonlinearExamples, SwitchConductsAtExactlyItsOpeningVoltage) {
    RecordingMessages messages;
    ExampleRun run("switch_threshold.dvn");
    ASSERT_EQ(run.result.Status, TRunResult::Outcome::Finished) << run.result.Message;
    const auto switches = run.All("TSwitch");
    ASSERT_EQ(switches.size(), 2u);
    // On: 12 V over 1 kΩ + 1 Ω + 0.01 Ω leaves 1 Ω's share on the switch.
    EXPECT_NEAR(run.Phi(switches[0], "Anode"), 12.0 * 1 / 1001.01, 1e-4);
    // Off: 1 GΩ takes all but a millionth of the source.
    EXPECT_NEAR(run.Phi(switches[1], "Anode"), 12.0 * 1e9 / (1e9 + 1000.01), 1e-4);
}

} // namespace
