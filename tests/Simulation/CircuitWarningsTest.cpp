#include <gtest/gtest.h>

#include <filesystem>

#include "Simulation/CircuitWarnings.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"

namespace {

using P = CircuitBuilder;
using Texts = std::vector<std::string>;

const std::string NoGround = "В электрической цепи нет заземления: ни один её узел не соединён с "
                             "корпусом, потенциалы узлов отсчитываются от одного из них.";
const std::string NoSource = "В электрической цепи нет ни одного источника энергии: токи и "
                             "напряжения в ней останутся нулевыми.";

struct Sheet {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b{sheet};
    ExampleBuilder draw{sheet};
    TBaseElement* Add(const char* cls, int left, int top) { return b.Add(cls, left, top); }
    // A 12 V source across a resistor, grounded at the minus.
    void SourceAndLoad() {
        auto* e = Add("TVoltageSource", 60, 100);
        auto* r = Add("TResistor", 200, 40);
        auto* g = Add("TGround", 60, 300);
        b.Wire(P::Pin(e, "Minus"), P::Pin(g, "Connector"));
        b.Wire(P::Pin(e, "Plus"), P::Pin(r, "Connector1"));
        b.WireToNode(P::Pin(r, "Connector2"), P::Pin(g, "Connector"));
    }
};

TEST(CircuitWarnings, AGroundedSourceAndLoadAndBlocksAloneGiveNone) {
    Sheet s;
    EXPECT_EQ(CircuitWarnings(s.sheet), Texts{}); // empty sheet
    auto* gain = s.Add("TGain", 400, 400);
    s.b.Link(s.Add("TSinusoid", 300, 400), gain);
    s.b.Link(gain, s.Add("TPlotter", 500, 400));
    // Elements placed but not wired are no circuit yet.
    s.Add("TResistor", 600, 600);
    s.Add("TGround", 700, 600);
    EXPECT_EQ(CircuitWarnings(s.sheet), Texts{});
    s.SourceAndLoad();
    EXPECT_EQ(CircuitWarnings(s.sheet), Texts{});
}

TEST(CircuitWarnings, ACircuitWithoutGround) {
    Sheet s;
    auto* e = s.Add("TVoltageSource", 60, 100);
    auto* r = s.Add("TResistor", 200, 40);
    s.b.Wire(P::Pin(e, "Plus"), P::Pin(r, "Connector1"));
    s.b.Wire(P::Pin(r, "Connector2"), P::Pin(e, "Minus"));
    EXPECT_EQ(CircuitWarnings(s.sheet), Texts{NoGround});

    // It still runs: the current is E / (R + Rвн) whatever node is the reference.
    s.sheet.RunSettings.T = 1e-3;
    TRunContext context(s.sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions o;
    double current = 0;
    o.Sample = [&](double, const std::vector<double>&) {
        current = (P::Pin(r, "Connector1")->GetPhi() - P::Pin(r, "Connector2")->GetPhi()) / 1000;
    };
    EXPECT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
    EXPECT_NEAR(current, 12.0 / 1000.01, 1e-6);
    EXPECT_TRUE(s.messages.Entries.empty());
}

TEST(CircuitWarnings, ACircuitWithoutSource) {
    Sheet s;
    auto* r = s.Add("TResistor", 200, 40);
    auto* c = s.Add("TCapacitor", 60, 100);
    auto* g = s.Add("TGround", 60, 300);
    s.b.Wire(P::Pin(c, "Connector2"), P::Pin(g, "Connector"));
    s.b.Wire(P::Pin(c, "Connector1"), P::Pin(r, "Connector1"));
    s.b.WireToNode(P::Pin(r, "Connector2"), P::Pin(g, "Connector"));
    EXPECT_EQ(CircuitWarnings(s.sheet), Texts{NoSource});

    // A permanent-magnet motor is one: a load torque turns it into a generator.
    auto* m = s.Add("TMotor", 400, 100);
    s.b.WireToNode(P::Pin(m, "Connector1"), P::Pin(r, "Connector1"));
    s.b.WireToNode(P::Pin(m, "Connector2"), P::Pin(g, "Connector"));
    EXPECT_EQ(CircuitWarnings(s.sheet), Texts{});
}

TEST(CircuitWarnings, SourcesOfEveryKindCount) {
    for (const char* cls : {"TVoltageSource", "TCurrentSource", "TBattery", "TSolarBattery",
                            "TVoltageSin", "TControlledVoltage", "TControlledCurrent"}) {
        Sheet s;
        auto* e = s.Add(cls, 60, 100);
        auto* g = s.Add("TGround", 60, 300);
        auto* r = s.Add("TResistor", 200, 40);
        TConnector* a = e->FConnectors[0];
        TConnector* b = e->FConnectors[1];
        s.b.Wire(b, P::Pin(g, "Connector"));
        s.b.Wire(a, P::Pin(r, "Connector1"));
        s.b.WireToNode(P::Pin(r, "Connector2"), P::Pin(g, "Connector"));
        EXPECT_EQ(CircuitWarnings(s.sheet), Texts{}) << cls;
    }
    // An amplifier only passes on what its input gets.
    Sheet s;
    auto* a = s.Add("TAmplifier", 200, 100);
    auto* g = s.Add("TGround", 60, 300);
    auto* r = s.Add("TResistor", 400, 40);
    s.b.Wire(P::Pin(a, "GndOut"), P::Pin(g, "Connector"));
    s.b.Wire(P::Pin(a, "Uout"), P::Pin(r, "Connector1"));
    s.b.WireToNode(P::Pin(r, "Connector2"), P::Pin(g, "Connector"));
    EXPECT_EQ(CircuitWarnings(s.sheet), Texts{NoSource});
}

TEST(CircuitWarnings, AWireThatReachesASinglePinIsNamedByThePin) {
    Sheet s;
    s.SourceAndLoad();
    // A second resistor with one wire drawn from it and left open.
    auto* r2 = s.draw.Place("TResistor", "Connector1", {500, 500});
    s.draw.Drag(r2, "Connector1", {500, 600});
    EXPECT_EQ(CircuitWarnings(s.sheet),
              Texts{"Узел с единственным подключением: к проводу от вывода Connector1 элемента "
                    "R2 больше ничего не подключено."});
    // A ground with an open wire too: one text lists both, ground by its class.
    auto* g2 = s.draw.Place("TGround", "Connector", {800, 500});
    s.draw.Drag(g2, "Connector", {800, 400});
    const int ground = g2->ElementIndex();
    EXPECT_EQ(CircuitWarnings(s.sheet),
              Texts{"Узлы с единственным подключением: к проводам от выводов Connector1 элемента "
                    "R2, Connector элемента Ground №" +
                    std::to_string(ground) + " больше ничего не подключено."});
}

TEST(CircuitWarnings, EveryProblemAtOnceInAFixedOrder) {
    Sheet s;
    auto* r = s.draw.Place("TResistor", "Connector1", {200, 200});
    s.draw.Drag(r, "Connector1", {200, 300});
    EXPECT_EQ(CircuitWarnings(s.sheet),
              (Texts{NoGround,
                     "Узел с единственным подключением: к проводу от вывода Connector1 элемента "
                     "R1 больше ничего не подключено.",
                     NoSource}));
}

TEST(CircuitWarnings, NoShippedExampleWarns) {
    RecordingMessages messages;
    int count = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(QUENTOR_SOURCE_DIR) + "/examples")) {
        if (entry.path().extension() != ".dvn") continue;
        ++count;
        Schematic sheet;
        ASSERT_EQ(LoadSchematic(sheet, entry.path().string()), TLoadResult::Loaded);
        EXPECT_EQ(CircuitWarnings(sheet), Texts{}) << entry.path().filename();
    }
    EXPECT_GT(count, 20);
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
