// Two copies of one schematic run in two threads at once must give exactly
// the samples of two runs one after the other: every piece of run state
// belongs to the run (its schematic, its model, its messages, its seed).
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "Simulation/RandomSeed.h"
#include "model/Messages.h"
#include "model/ThreadMessages.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/Cp1251.h"
#include "support/ExampleBuilder.h"
#include "support/TempDir.h"
#include "model/TInfoConnector.h"
#include "support/WireDrawing.h"

namespace {

// What one thread's run reported, kept apart from every other thread's.
class ThreadMessages : public Messages {
public:
    void Error(const std::string& text, const std::string&) override { Texts.push_back("error: " + text); }
    void Warning(const std::string& text, const std::string&) override { Texts.push_back("warning: " + text); }
    void Information(const std::string& text, const std::string&) override { Texts.push_back(text); }
    TAnswer Question(const std::string& text, const std::string&, bool) override {
        Texts.push_back("question: " + text);
        return TAnswer::No;
    }
    std::vector<std::string> Texts;
};

struct Samples {
    std::vector<std::vector<double>> Rows;  // time, then the row of the sample
    std::vector<std::string> Messages;
    TRunResult::Outcome Status = TRunResult::Outcome::Failed;
};

// One whole run from the file's lines, as quentor-sim does it, reporting to
// a sink of its own.
Samples RunLines(const std::vector<std::string>& lines, const std::string& dir,
                 std::optional<unsigned> seed = std::nullopt) {
    Samples s;
    ThreadMessages sink;
    Schematic sheet;
    {
        ScopedThreadMessages loading(sink);
        if (LoadSchematicLines(sheet, lines) != TLoadResult::Loaded) return s;
    }
    TRunContext context(sheet, dir);
    context.Sink = &sink;
    context.Seed = seed;
    if (!PrepareRun(context)) {
        s.Messages = sink.Texts;
        return s;
    }
    TRunOptions options;
    options.Sample = [&s](double t, const std::vector<double>& row) {
        s.Rows.push_back({t});
        s.Rows.back().insert(s.Rows.back().end(), row.begin(), row.end());
    };
    s.Status = RunSimulation(context, options).Status;
    s.Messages = sink.Texts;
    return s;
}

void Link(TBaseElement* from, TBaseElement* to) { to->FInputs[0]->SetSource(from->FOutputs[0]); }

// Bitwise, so that -0.0 and 0.0 or two NaNs are told apart as the files would.
bool SameBits(const std::vector<std::vector<double>>& a, const std::vector<std::vector<double>>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].size() != b[i].size()) return false;
        if (!a[i].empty() && std::memcmp(a[i].data(), b[i].data(), a[i].size() * sizeof(double)) != 0) return false;
    }
    return true;
}

std::vector<std::string> ExampleLines(const std::string& name) {
    std::vector<std::string> lines;
    EXPECT_TRUE(ReadTextFile(ExamplePath(name), lines)) << name;
    return lines;
}

TEST(ParallelRuns, TwoCopiesInTwoThreadsGiveTheSequentialSamples) {
    for (const char* name : {"dc_drive_cascade.dvn", "thyristor_bridge_rl.dvn"}) {
        SCOPED_TRACE(name);
        // The file text read twice: two independent schematics.
        const std::vector<std::string> first = ExampleLines(name), second = ExampleLines(name);
        TempDir seqA, seqB, parA, parB;
        const Samples a = RunLines(first, seqA.Path().string());
        const Samples b = RunLines(second, seqB.Path().string());
        ASSERT_EQ(a.Status, TRunResult::Outcome::Finished);
        ASSERT_GT(a.Rows.size(), 10u);

        Samples pa, pb;
        std::thread ta([&] { pa = RunLines(first, parA.Path().string()); });
        std::thread tb([&] { pb = RunLines(second, parB.Path().string()); });
        ta.join();
        tb.join();
        EXPECT_TRUE(SameBits(pa.Rows, a.Rows));
        EXPECT_TRUE(SameBits(pb.Rows, b.Rows));
        EXPECT_TRUE(SameBits(a.Rows, b.Rows));
        for (const char* file : {"graf.dat", "graf.grp"}) {
            const std::string expected = FileBytes(seqA.File(file));
            ASSERT_FALSE(expected.empty()) << file;
            EXPECT_EQ(FileBytes(parA.File(file)), expected) << file;
            EXPECT_EQ(FileBytes(parB.File(file)), expected) << file;
        }
        EXPECT_EQ(pa.Messages, a.Messages);
        EXPECT_EQ(pb.Messages, b.Messages);
    }
}

// Each run's messages reach the sink of its own thread: a run refused for
// its settings says so only there, while its neighbour runs quietly.
TEST(ParallelRuns, MessagesStayWithTheirRun) {
    std::vector<std::string> good = ExampleLines("rc.dvn"), bad = good;
    for (std::string& line : bad)
        if (line.rfind("h=", 0) == 0) line = "h=0";
    TempDir da, db;
    Samples pa, pb;
    std::thread ta([&] { pa = RunLines(good, da.Path().string()); });
    std::thread tb([&] { pb = RunLines(bad, db.Path().string()); });
    ta.join();
    tb.join();
    EXPECT_EQ(pa.Status, TRunResult::Outcome::Finished);
    EXPECT_TRUE(pa.Messages.empty());
    EXPECT_EQ(pb.Messages, std::vector<std::string>{"error: Шаг моделирования должен быть больше нуля."});
}

// Random levels drawn from each run's own seed: the same seed gives the same
// levels in two threads as one after the other, another seed other levels.
TEST(ParallelRuns, EachRunDrawsFromItsOwnSeed) {
    Schematic sheet;
    TBaseElement* random = PlaceElement(sheet, "TGPSP", 20, 20);
    random->FindParam("min")->Value = -1;
    random->FindParam("T1")->Value = 50;
    Link(random, PlaceElement(sheet, "TPlotter", 240, 20));
    sheet.RunSettings.T = 1;
    sheet.RunSettings.h = 1e-3;
    sheet.RunSettings.GS = 0.01;
    const std::vector<std::string> lines = SchematicToLines(sheet);
    TempDir d1, d2, d3, d4;
    const Samples seq3 = RunLines(lines, d1.Path().string(), 3u), seq5 = RunLines(lines, d2.Path().string(), 5u);
    Samples par3, par5;
    std::thread ta([&] { par3 = RunLines(lines, d3.Path().string(), 3u); });
    std::thread tb([&] { par5 = RunLines(lines, d4.Path().string(), 5u); });
    ta.join();
    tb.join();
    ASSERT_GT(seq3.Rows.size(), 50u);
    EXPECT_TRUE(SameBits(par3.Rows, seq3.Rows));
    EXPECT_TRUE(SameBits(par5.Rows, seq5.Rows));
    EXPECT_FALSE(SameBits(seq3.Rows, seq5.Rows));
}

} // namespace
