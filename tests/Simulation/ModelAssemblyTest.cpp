#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "Simulation/ModelAssembly.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "support/CircuitBuilder.h"
#include "support/EngineTestElements.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"
#include "support/TestElements.h"

namespace {

double At(const TMatrix& m, int y, int x) { return m(y, x).Value(); }

// Every entry of a matrix except the listed ones is zero.
void ExpectOnly(const TMatrix& m, std::initializer_list<std::tuple<int, int, double>> entries) {
    for (int y = 0; y < m.ysize; ++y)
        for (int x = 0; x < m.xsize; ++x) {
            double want = 0;
            for (auto [ey, ex, v] : entries)
                if (ey == y && ex == x) want = v;
            EXPECT_DOUBLE_EQ(At(m, y, x), want) << "at (" << y << ", " << x << ")";
        }
}

class Assembly : public ::testing::Test {
protected:
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b{sheet};
    TRunContext context{sheet, ""};

    void Build() {
        for (TBaseElement* e : sheet.Elements) e->ResetState();
        context.Adopt(BuildModel(sheet));
    }
    // The assembled model.
    TSimModel& M() const { return *context.Model(); }
};

TEST_F(Assembly, OnlyBlocksGiveAnEmptyCircuit) {
    auto* c = b.Add("TTestConst", 10, 10);
    auto* g = b.Add("TTestGain", 100, 10);
    auto* p = b.Add("TTestProbe", 200, 10);
    b.Link(c, g);
    b.Link(g, p);
    Build();
    EXPECT_EQ(IncidenceMatrix(M()).ysize, 0);
    EXPECT_EQ(IncidenceMatrix(M()).xsize, 0);
    EXPECT_EQ(ConductanceMatrix(M()).ysize, 0);
    EXPECT_EQ(M().En.ysize, 0);
    EXPECT_EQ(M().Jn.ysize, 0);
    EXPECT_EQ(M().Mf.xsize, 0);
    ExpectOnly(M().P, {{0, 0, 1.0}});
    ExpectOnly(M().Nc, {{0, 0, 1.0}});
    EXPECT_EQ(M().N.xsize, 1);
    EXPECT_DOUBLE_EQ(At(M().N, 0, 0), 0.0);
    EXPECT_TRUE(M().Un.At(0).IsDynamic());
    EXPECT_TRUE(M().F.At(0).IsDynamic());
    EXPECT_EQ(M().StaticInputs.size(), 1u);
    EXPECT_EQ(M().Time, -1.0);
}

TEST_F(Assembly, DynamicBlocksOfOrdersTwoAndOneStackOnTheDiagonal) {
    auto* second = b.Add("TTestSecondOrder", 10, 10);
    auto* integ = b.Add("TTestIntegrator", 100, 10);
    CircuitBuilder::Set(integ, "IC", 3);
    b.Link(second, integ);  // the integrator's input is the first block
    Build();
    ASSERT_EQ(M().A.ysize, 3);
    ExpectOnly(M().A, {{0, 1, 1.0}, {1, 0, -2.0}, {1, 1, -3.0}});
    ExpectOnly(M().B, {{1, 0, 1.0}, {2, 1, 1.0}});
    ExpectOnly(M().C, {{0, 0, 1.0}, {1, 2, 1.0}});
    ExpectOnly(M().D, {{0, 0, 0.5}});
    EXPECT_DOUBLE_EQ(M().Xk.At(0).Value(), 0.25);
    EXPECT_DOUBLE_EQ(M().Xk.At(1).Value(), -0.5);
    EXPECT_DOUBLE_EQ(M().Xk.At(2).Value(), 3.0);
    ExpectOnly(M().Hd, {{1, 0, 1.0}});
}

TEST_F(Assembly, StaticInputsAreNumberedBlockByBlock) {
    auto* two = b.Add("TTestTwoInputs", 10, 10);
    auto* three = b.Add("TTestThreeInputs", 100, 10);
    auto* c0 = b.Add("TTestConst", 200, 10);
    auto* c1 = b.Add("TTestConst", 300, 10);
    b.Link(c1, three, 1);  // only the second input of the second block
    Build();
    EXPECT_EQ(static_cast<TStatic*>(two)->FInputBase, 0);
    EXPECT_EQ(static_cast<TStatic*>(three)->FInputBase, 2);
    ASSERT_EQ(M().P.ysize, 5);
    ExpectOnly(M().P, {{3, 1, 1.0}});
    (void)c0;
}

TEST_F(Assembly, AmmeterOutputCountsAsAProducer) {
    b.Add("TTestConst", 10, 10);
    auto* amp = b.Add("TAmper", 100, 100);
    auto* integ = b.Add("TTestIntegrator", 200, 10);
    b.Link(amp, integ);
    Build();
    ASSERT_EQ(sheet.Producers.IndexOf(static_cast<TProducer*>(amp)), 1);
    ExpectOnly(M().G, {{0, 1, 1.0}});
    // Its shunt branch is live: the shunt is read at every use.
    EXPECT_TRUE(M().Branches[0].g.IsDynamic());
    EXPECT_DOUBLE_EQ(At(ConductanceMatrix(M()), 0, 0), 100.0);
}

TEST_F(Assembly, ControlledSourceBranchesFollowThePlainOnes) {
    auto* cv = b.Add("TTestCV", 10, 10);
    auto* r1 = b.Add("TResistor", 100, 10);
    auto* cc = b.Add("TTestCC", 200, 10);
    auto* r2 = b.Add("TResistor", 300, 10);
    CircuitBuilder::Set(r1, "R", 10);
    CircuitBuilder::Set(r2, "R", 20);
    (void)cv;
    (void)cc;
    Build();
    EXPECT_EQ(M().FirstCVBranch, 2);
    EXPECT_EQ(M().FirstCCBranch, 3);
    EXPECT_EQ(M().En.ysize, 2);
    EXPECT_DOUBLE_EQ(At(ConductanceMatrix(M()), 0, 0), 0.1);
    EXPECT_DOUBLE_EQ(At(ConductanceMatrix(M()), 1, 1), 0.05);
    EXPECT_DOUBLE_EQ(At(ConductanceMatrix(M()), 2, 2), 100.0);
    EXPECT_DOUBLE_EQ(At(ConductanceMatrix(M()), 3, 3), 0.0);
}

TEST_F(Assembly, InternalNodesAreNumberedAfterTheListedOnes) {
    // Four separate wire nodes, then an element with internal nodes 0 and 1.
    for (int i = 0; i < 4; ++i) {
        auto* r = b.Add("TResistor", 10, 40 * i + 10);
        b.Wire(CircuitBuilder::Pin(r, "Connector1"), CircuitBuilder::Pin(r, "Connector2"));
    }
    ASSERT_EQ(sheet.Nodes.Count(), 4);
    auto* e = b.Add("TTestInternal", 300, 10);
    Build();
    EXPECT_EQ(e->FNodeBase, 4);
    // Six nodes in all; the last, internal node 1 of the element, is the
    // reference. The element's pins are open, so only its middle branch,
    // between its internal nodes, is in the equations.
    ASSERT_EQ(IncidenceMatrix(M()).ysize, 5);
    const int first = 4;  // the element's first branch follows the four resistors
    ExpectOnly(IncidenceMatrix(M()), {{4, first + 1, -1.0}});
}

TEST_F(Assembly, BranchWithBothEndsOnOneNodeCarriesNothing) {
    auto* vs = b.Add("TVoltageSource", 100, 100);
    auto* r1 = b.Add("TResistor", 200, 60);
    auto* gnd = b.Add("TGround", 300, 200);
    auto* r2 = b.Add("TResistor", 200, 300);
    b.Wire(CircuitBuilder::Pin(vs, "Plus"), CircuitBuilder::Pin(r1, "Connector1"));
    b.Wire(CircuitBuilder::Pin(r1, "Connector2"), CircuitBuilder::Pin(gnd, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(vs, "Minus"), CircuitBuilder::Pin(gnd, "Connector"));
    b.Wire(CircuitBuilder::Pin(r2, "Connector1"), CircuitBuilder::Pin(r2, "Connector2"));
    b.Bridge(CircuitBuilder::Pin(r2, "Connector1"), CircuitBuilder::Pin(vs, "Plus"));
    TempDir dir;
    sheet.RunSettings.T = 1e-4;
    ASSERT_TRUE(PrepareRun(context));
    // Z column of the shorted resistor (branch 2) is empty.
    for (int n = 0; n < IncidenceMatrix(M()).ysize; ++n) EXPECT_EQ(At(IncidenceMatrix(M()), n, 2), 0.0);
    TRunOptions options;
    RunSimulation(context, options);
    EXPECT_NEAR(CircuitBuilder::Pin(vs, "Plus")->GetPhi(), 12.0 * 1000 / 1000.01, 1e-9);
}

TEST_F(Assembly, WiredGroundIsTheReferenceAndOtherNodesKeepTheirNumbers) {
    // Three wire nodes; the ground sits on the first one created.
    auto* gnd = b.Add("TGround", 10, 10);
    auto* r1 = b.Add("TResistor", 100, 10);
    auto* r2 = b.Add("TResistor", 100, 100);
    auto* bat = b.Add("TBattery", 300, 100);
    b.Wire(CircuitBuilder::Pin(gnd, "Connector"), CircuitBuilder::Pin(r1, "Connector1"));
    b.Wire(CircuitBuilder::Pin(r1, "Connector2"), CircuitBuilder::Pin(r2, "Connector1"));
    b.Wire(CircuitBuilder::Pin(r2, "Connector2"), CircuitBuilder::Pin(bat, "Plus"));
    b.WireToNode(CircuitBuilder::Pin(bat, "Minus"), CircuitBuilder::Pin(gnd, "Connector"));
    ASSERT_EQ(sheet.Nodes.Count(), 3);
    const int groundNode = CircuitBuilder::Pin(gnd, "Connector")->GetNodeID();
    const int middle = CircuitBuilder::Pin(r1, "Connector2")->GetNodeID();
    const int top = CircuitBuilder::Pin(bat, "Plus")->GetNodeID();
    Build();
    // Two unknown wire potentials, then the battery's internal node; the
    // ground node is the reference, numbered past them.
    EXPECT_EQ(IncidenceMatrix(M()).ysize, 3);
    EXPECT_EQ(bat->FNodeBase, 2);
    EXPECT_EQ(sheet.Nodes[groundNode]->SimIndex, 3);
    EXPECT_EQ(CircuitBuilder::Pin(gnd, "Connector")->FSimNode, 3);
    // Nodes below the count keep their numbers; the one past it takes the
    // ground's place.
    for (int node : {middle, top}) {
        const int eq = sheet.Nodes[node]->SimIndex;
        if (node < 2) EXPECT_EQ(eq, node);
        else EXPECT_EQ(eq, groundNode);
    }

    // Run: 12 V across 1 Ω + 2 kΩ with the EMF held (no charge or discharge);
    // potentials are measured from the ground.
    CircuitBuilder::Set(bat, "Kзар", 0);
    CircuitBuilder::Set(bat, "Kраз", 0);
    sheet.RunSettings.T = 1e-4;
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions options;
    RunSimulation(context, options);
    EXPECT_DOUBLE_EQ(CircuitBuilder::Pin(gnd, "Connector")->GetPhi(), 0.0);
    const double total = 2001 + 1e-4;  // the EMF branch adds 0.1 mΩ
    EXPECT_NEAR(CircuitBuilder::Pin(bat, "Plus")->GetPhi(), 12.0 * 2000 / total, 1e-6);
    EXPECT_NEAR(CircuitBuilder::Pin(r1, "Connector2")->GetPhi(), 12.0 * 1000 / total, 1e-6);
}

TEST_F(Assembly, SensorLinkedStraightIntoAControlledSourceDrivesIt) {
    auto* vs = b.Add("TVoltageSource", 100, 100);
    auto* r = b.Add("TResistor", 200, 60);
    auto* gnd = b.Add("TGround", 300, 200);
    auto* sensor = b.Add("TTestSensor", 400, 100);
    auto* cv = b.Add("TTestCV", 500, 100);
    auto* gnd2 = b.Add("TGround", 500, 300);
    auto* load = b.Add("TResistor", 600, 200);
    CircuitBuilder::Set(load, "R", 1e6);
    CircuitBuilder::Set(vs, "E", 10);
    b.Wire(CircuitBuilder::Pin(vs, "Plus"), CircuitBuilder::Pin(r, "Connector1"));
    b.Wire(CircuitBuilder::Pin(r, "Connector2"), CircuitBuilder::Pin(gnd, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(vs, "Minus"), CircuitBuilder::Pin(gnd, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(sensor, "Plus"), CircuitBuilder::Pin(vs, "Plus"));
    b.WireToNode(CircuitBuilder::Pin(sensor, "Minus"), CircuitBuilder::Pin(gnd, "Connector"));
    b.Wire(CircuitBuilder::Pin(cv, "Minus"), CircuitBuilder::Pin(gnd2, "Connector"));
    b.Wire(CircuitBuilder::Pin(cv, "Plus"), CircuitBuilder::Pin(load, "Connector1"));
    b.WireToNode(CircuitBuilder::Pin(load, "Connector2"), CircuitBuilder::Pin(gnd2, "Connector"));
    b.Link(sensor, cv);
    sheet.RunSettings.T = 1e-4;
    ASSERT_TRUE(PrepareRun(context));
    ExpectOnly(M().Mev, {{0, 0, 1.0}});
    EXPECT_EQ(M().Mec.xsize, 0);
    TRunOptions options;
    RunSimulation(context, options);
    const double source = 10.0 * 1000 / 1000.01;
    EXPECT_NEAR(CircuitBuilder::Pin(vs, "Plus")->GetPhi(), source, 1e-9);
    // Nearly open circuit (100 S source into 1 MΩ): the control value.
    EXPECT_NEAR(CircuitBuilder::Pin(cv, "Plus")->GetPhi(), source * 1e6 / (1e6 + 0.01), 1e-9);
}

TEST_F(Assembly, DumpOfASmallSchematicMatchesTheHandWrittenFile) {
    auto* vs = b.Add("TVoltageSource", 100, 100);
    auto* r = b.Add("TResistor", 200, 60);
    auto* gnd = b.Add("TGround", 300, 200);
    auto* c = b.Add("TTestConst", 400, 10);
    auto* p = b.Add("TTestProbe", 500, 10);
    b.Wire(CircuitBuilder::Pin(vs, "Plus"), CircuitBuilder::Pin(r, "Connector1"));
    b.Wire(CircuitBuilder::Pin(r, "Connector2"), CircuitBuilder::Pin(gnd, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(vs, "Minus"), CircuitBuilder::Pin(gnd, "Connector"));
    b.Link(c, p);
    TempDir dir;
    context.OutputDir = dir.Path().string();
    ASSERT_TRUE(PrepareRun(context));
    std::ifstream got(dir.File("debug.txt"));
    std::ifstream want(std::string(QUENTOR_SOURCE_DIR) + "/tests/Simulation/data/small-debug.txt");
    ASSERT_TRUE(got && want);
    std::stringstream g, w;
    g << got.rdbuf();
    w << want.rdbuf();
    EXPECT_EQ(g.str(), w.str());
}

TEST_F(Assembly, DumpThatCannotBeWrittenIsSkipped) {
    b.Add("TTestConst", 10, 10);
    context.OutputDir = "/nonexistent/directory";
    EXPECT_TRUE(PrepareRun(context));
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_EQ(M().Un.ysize, 1);
}

} // namespace
