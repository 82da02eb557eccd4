// A run is a value: assembly returns its model, the context owns it and
// binds the schematic to it, and the run carries its own settings, sink and
// seed. The schematic keeps only what its file holds.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Simulation/ModelAssembly.h"
#include "Simulation/RandomSeed.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TElectricLine.h"
#include "support/BoundModel.h"
#include "support/CircuitBuilder.h"
#include "support/EngineTestElements.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"

namespace {

// Errors of one run only; unlike RecordingMessages it does not install itself.
class RunErrors : public Messages {
public:
    void Error(const std::string& text, const std::string&) override { Texts.push_back(text); }
    void Warning(const std::string&, const std::string&) override {}
    void Information(const std::string&, const std::string&) override {}
    TAnswer Question(const std::string&, const std::string&, bool) override { return TAnswer::No; }
    std::vector<std::string> Texts;
};

void LoadRc(Schematic& sheet) { ASSERT_EQ(LoadSchematic(sheet, ExamplePath("rc.dvn")), TLoadResult::Loaded); }

TConnector* CapacitorPin(Schematic& sheet) {
    for (TBaseElement* e : sheet.Elements)
        if (e->ClassName() == "TCapacitor") return e->FindConnector("Connector1");
    return nullptr;
}

std::vector<std::vector<double>> Samples(TRunContext& run) {
    std::vector<std::vector<double>> rows;
    TRunOptions o;
    o.Sample = [&rows](double t, const std::vector<double>& row) {
        rows.push_back({t});
        rows.back().insert(rows.back().end(), row.begin(), row.end());
    };
    EXPECT_EQ(RunSimulation(run, o).Status, TRunResult::Outcome::Finished);
    return rows;
}

TEST(RunContext, AssemblyReturnsANewModelAndLeavesTheBindingAsItWas) {
    RecordingMessages messages;
    Schematic sheet;
    LoadRc(sheet);
    sheet.RunSettings.h = 2e-5;
    for (TBaseElement* e : sheet.Elements) e->ResetState();
    const auto first = BuildModel(sheet);
    EXPECT_EQ(sheet.BoundRun(), nullptr);
    ASSERT_NE(first, nullptr);
    EXPECT_GT(first->NodeRows, 0);
    EXPECT_FALSE(first->Branches.empty());
    EXPECT_EQ(first->h, 2e-5);
    EXPECT_EQ(first->Time, -1.0);

    // Assembled again under another bound model: two models, that one still bound.
    BoundModel bound(sheet);
    const auto second = BuildModel(sheet);
    EXPECT_EQ(sheet.BoundRun(), &*bound);
    EXPECT_NE(second.get(), first.get());
    EXPECT_EQ(second->NodeRows, first->NodeRows);
    EXPECT_EQ(second->Branches.size(), first->Branches.size());
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(RunContext, PreparingBindsItsModelForTheContextsLife) {
    RecordingMessages messages;
    Schematic sheet;
    LoadRc(sheet);
    {
        TRunContext a(sheet, "");
        EXPECT_EQ(a.Model(), nullptr);
        ASSERT_TRUE(PrepareRun(a));
        ASSERT_NE(a.Model(), nullptr);
        EXPECT_EQ(sheet.BoundRun(), a.Model());
        {
            TRunContext b(sheet, "");
            ASSERT_TRUE(PrepareRun(b));
            EXPECT_EQ(sheet.BoundRun(), b.Model());
            EXPECT_NE(b.Model(), a.Model());
        }
        // The later run ended: nothing is bound, and the earlier one's end
        // must not unbind what is not its own.
        EXPECT_EQ(sheet.BoundRun(), nullptr);
        TRunContext c(sheet, "");
        ASSERT_TRUE(PrepareRun(c));
    }
    EXPECT_EQ(sheet.BoundRun(), nullptr);

    // A refused run holds no model and binds none.
    sheet.RunSettings.h = 0;
    TRunContext refused(sheet, "");
    EXPECT_FALSE(PrepareRun(refused));
    EXPECT_EQ(refused.Model(), nullptr);
    EXPECT_EQ(sheet.BoundRun(), nullptr);
    EXPECT_EQ(messages.Texts(), std::vector<std::string>{"Шаг моделирования должен быть больше нуля."});
}

TEST(RunContext, TheRunKeepsTheSettingsItWasPreparedWith) {
    RecordingMessages messages;
    Schematic sheet;
    LoadRc(sheet);
    sheet.RunSettings.T = 0.002;
    TRunContext plain(sheet, "");
    ASSERT_TRUE(PrepareRun(plain));
    const auto expected = Samples(plain);
    ASSERT_GT(expected.size(), 5u);

    // Changed after preparing (as the settings dialog could), the
    // schematic's settings belong to the next run, not to this one: the
    // capacitor's C/h and the loop's end stay those of the prepared run.
    TRunContext run(sheet, "");
    ASSERT_TRUE(PrepareRun(run));
    sheet.RunSettings.T = 0.02;
    sheet.RunSettings.h = 1e-3;
    sheet.RunSettings.GS = 1e-3;
    EXPECT_EQ(Samples(run), expected);
    EXPECT_EQ(run.Model()->h, 1e-5);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(RunContext, ThePotentialsOfAFinishedRunStayWithItsContext) {
    RecordingMessages messages;
    Schematic sheet;
    LoadRc(sheet);
    sheet.RunSettings.T = 0.01;
    TConnector* pin = CapacitorPin(sheet);
    ASSERT_NE(pin, nullptr);
    TElectricLine* line = pin->FLink;
    ASSERT_NE(line, nullptr);
    double phi = 0;
    {
        TRunContext run(sheet, "");
        ASSERT_TRUE(PrepareRun(run));
        Samples(run);
        phi = pin->GetPhi();
        // Charged towards the source through R: well away from 0.
        EXPECT_GT(std::abs(phi), 1.0);
        EXPECT_EQ(phi, run.Model()->Phi[std::size_t(pin->FSimNode)]);
        EXPECT_NE(line->HintText().find("Потенциал"), std::string::npos);
    }
    // With its context gone there is no run to read.
    EXPECT_EQ(pin->GetPhi(), 0.0);
    EXPECT_EQ(line->HintText().find("Потенциал"), std::string::npos);
}

TEST(RunContext, ItsSinkAndSeedHoldWhilePreparingAndRunningOnly) {
    RecordingMessages process;
    const ScopedRunSeed outer(42);
    // A random generator into a probe; a new schematic each time, as the
    // generator keeps its last value from one run to the next.
    auto draws = [](unsigned seed) {
        Schematic sheet;
        CircuitBuilder b(sheet);
        TBaseElement* random = b.Add("TGPSP", 10, 10);
        b.Link(random, b.Add("TTestProbe", 100, 10));
        ExampleBuilder::Set(random, "max", 1000);
        sheet.RunSettings.T = 0.05;
        sheet.RunSettings.GS = 1e-3;
        TRunContext run(sheet, "");
        run.Seed = seed;
        EXPECT_TRUE(PrepareRun(run));
        return Samples(run);
    };
    const auto five = draws(5);
    ASSERT_GT(five.size(), 40u);
    EXPECT_EQ(draws(5), five);
    EXPECT_NE(draws(6), five);
    EXPECT_EQ(RunRandomSeed(), 42u);

    // A refusal goes to the run's sink, and the thread's sink is back after.
    Schematic sheet;
    CircuitBuilder b(sheet);
    TBaseElement* random = b.Add("TGPSP", 10, 10);
    ExampleBuilder::Set(random, "T1", 0);
    RunErrors own;
    TRunContext refused(sheet, "");
    refused.Sink = &own;
    EXPECT_FALSE(PrepareRun(refused));
    ASSERT_EQ(own.Texts.size(), 1u);
    EXPECT_NE(own.Texts[0].find("T1"), std::string::npos);
    EXPECT_TRUE(process.Entries.empty());
    Msg().Error("после", "");
    EXPECT_EQ(process.Texts(), std::vector<std::string>{"после"});
}

TEST(RunContextDeathTest, RunningAnUnpreparedContextIsAProgrammingError) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Schematic sheet;
    TRunContext run(sheet, "");
    EXPECT_DEATH(RunSimulation(run, TRunOptions{}), "the run is prepared");
}

} // namespace
