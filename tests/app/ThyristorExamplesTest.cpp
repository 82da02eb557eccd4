#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <string>

#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "params/IniFile.h"
#include "support/ExampleBuilder.h"
#include "support/OracleCompare.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double Amplitude = 100.0;   // V
constexpr double Omega = 2 * Pi * 50; // rad/s
constexpr double Rsource = 0.01, Rload = 10.0;
constexpr double Alpha = Pi / 3; // delay angle of the example file
constexpr double Step = 1e-5;

TPoint PinAt(TBaseElement* e, const char* pin) {
    return e->FindConnector(pin)->GetLink();
}

// 100 V, 50 Hz through a thyristor into 10 Ω. The gate drive is a sine of
// the supply's frequency delayed by α, squared by a relay (5 V while the
// delayed sine is not negative, else 0) and applied between control
// electrode and cathode by a controlled EMF: the gate current (5 V over
// the 200 Ω control branch, 25 mA) starts at ωt = α in every period.
// Plotted: the load voltage and the supply voltage.
void BuildHalfWave(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TSimModel& m = sheet.SimModel();
    m.T = 0.04;
    m.h = Step;
    m.GS = 1e-4;
    auto* vs = b.Place("TVoltageSin", "Plus", {100, 100});
    ExampleBuilder::Set(vs, "E", Amplitude);
    ExampleBuilder::Set(vs, "w", Omega);
    auto* g1 = b.Place("TGround", "Connector", {100, 240});
    auto* th = b.Place("TThyristor", "Anode", {200, 100});
    // Model rows of the table, as typed by hand: knee 0.728 V / 0.1 A, 1 V at 10 A.
    th->AutoModel = false;
    th->ResetParams();
    auto* r = b.Place("TResistor", "Connector1", {380, 140}, 90);
    ExampleBuilder::Set(r, "R", Rload, 0);
    auto* g2 = b.Place("TGround", "Connector", {380, 240});
    auto* load = b.Place("TVoltageSummator", "Plus", {480, 100});
    auto* g3 = b.Place("TGround", "Connector", {480, 240});
    auto* supply = b.Place("TVoltageSummator", "Plus", {150, 160});
    auto* g4 = b.Place("TGround", "Connector", {150, 240});
    auto* gate = b.Place("TControlledVoltage", "Plus", {PinAt(th, "Control").x, 180});
    auto* sine = b.PlaceBox("TSinusoid", 40, 300);
    ExampleBuilder::Set(sine, "w", Omega, 1);
    ExampleBuilder::Set(sine, "phi", -Alpha, 1);
    auto* relay = b.PlaceBox("TRelay", 120, 300);
    ExampleBuilder::Set(relay, "H", 5);
    ExampleBuilder::Set(relay, "L", 0);
    auto* loadPlot = b.PlaceBox("TPlotter", 560, 80);
    auto* supplyPlot = b.PlaceBox("TPlotter", 560, 200);

    b.Drag(vs, "Plus", PinAt(th, "Anode"));
    b.Drag(th, "Cathode", PinAt(load, "Plus"));
    b.Drag(r, "Connector1", {380, 100});
    b.Drag(r, "Connector2", PinAt(g2, "Connector"));
    b.Drag(vs, "Minus", PinAt(g1, "Connector"));
    b.Drag(load, "Minus", PinAt(g3, "Connector"));
    b.Drag(supply, "Plus", {150, 100});
    b.Drag(supply, "Minus", PinAt(g4, "Connector"));
    b.Drag(gate, "Plus", PinAt(th, "Control"));
    b.Drag(gate, "Minus", {300, 100});
    b.Link(sine, relay);
    b.Link(relay, gate);
    b.Link(load, loadPlot);
    b.Link(supply, supplyPlot);
}

const std::vector<ExampleGenerator> examples = {
    {"thyristor_half_wave.dvn", &BuildHalfWave},
};

TEST(ThyristorExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

// The thyristor's on-state characteristic of the example (model rows of the
// table): v/7.28 Ω up to the knee (0.728 V, 0.1 A), then 0.1 A + (v − 0.728)/Ron
// through 10 A at 1 V.
double OnStateCurrent(double v) {
    const double Uo = 0.728, Io = 0.1, Ron = (1 - 0.728) / (10 - 0.1);
    return v >= Uo ? Io + (v - Uo) / Ron : v / (Uo / Io);
}

// Load voltage while the thyristor conducts, from the source EMF: bisection
// on the thyristor voltage.
double ConductingLoadVoltage(double e) {
    auto mismatch = [e](double v) { return v + OnStateCurrent(v) * (Rsource + Rload) - e; };
    double lo = 0, hi = e;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (lo + hi);
        (mismatch(mid) > 0 ? hi : lo) = mid;
    }
    return OnStateCurrent(0.5 * (lo + hi)) * Rload;
}

struct Sample {
    double t, load, supply;
};

// Runs the example with the delay angle α and a sample at every step.
std::vector<Sample> RunHalfWave(double alpha, TRunResult* result = nullptr) {
    Schematic sheet;
    TempDir dir;
    EXPECT_EQ(LoadSchematic(sheet, ExamplePath("thyristor_half_wave.dvn")), TLoadResult::Loaded);
    for (TBaseElement* e : sheet.Elements)
        if (e->ClassName() == "TSinusoid") e->FindParam("phi")->Value = -alpha;
    sheet.SimModel().GS = Step;
    EXPECT_TRUE(PrepareRun(sheet, dir.Path().string()));
    TRunOptions o;
    o.OutputDir = dir.Path().string();
    o.MaxIterations = 100;
    const TRunResult r = RunSimulation(sheet, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
    if (result) *result = r;
    std::vector<Sample> out;
    for (const auto& row : ReadGrafDat(dir.File("graf.dat")))
        out.push_back({row[0], row[row.size() - 2], row[row.size() - 1]});
    return out;
}

TEST(ThyristorExamples, HalfWaveMeanVoltageFollowsTheDelayAngle) {
    RecordingMessages messages;
    // 30°, 60° and 100°: none falls on a step, so the firing step is not
    // left to the rounding of the model time.
    for (const double alpha : {Pi / 6, Pi / 3, 5 * Pi / 9}) {
        const auto samples = RunHalfWave(alpha);
        ASSERT_EQ(samples.size(), 4000u);
        // The second period, one sample per step.
        double sum = 0, reference = 0;
        int n = 0;
        for (const Sample& s : samples) {
            if (s.t < 0.02 - 1e-9) continue;
            sum += s.load;
            const double theta = std::fmod(Omega * s.t, 2 * Pi);
            if (theta >= alpha && theta < Pi)
                reference += ConductingLoadVoltage(Amplitude * std::sin(theta));
            ++n;
        }
        ASSERT_EQ(n, 2000);
        const double mean = sum / n;
        // Um·(1 + cos α)/(2π) scaled by the resistive divider, less the
        // forward drop (about 1 V at the 10 A of the peak) while conducting.
        const double ideal =
            Amplitude * (1 + std::cos(alpha)) / (2 * Pi) * Rload / (Rload + Rsource);
        const double drop = 0.95 * (Pi - alpha) / (2 * Pi);
        EXPECT_NEAR(mean, ideal - drop, 0.02 * (ideal - drop)) << "alpha = " << alpha;
        // And sample by sample from the characteristic, within the
        // four-decimal resolution of graf.dat and one step of firing.
        EXPECT_NEAR(mean, reference / n, 0.002 * mean) << "alpha = " << alpha;
    }
}

TEST(ThyristorExamples, HalfWaveFiresAtTheDelayAndTurnsOffAtTheCurrentZero) {
    RecordingMessages messages;
    TRunResult result;
    const auto samples = RunHalfWave(Alpha, &result);
    ASSERT_EQ(samples.size(), 4000u);
    const double period = 2 * Pi / Omega;
    for (const Sample& s : samples) {
        const double theta = std::fmod(Omega * s.t, 2 * Pi);
        const double e = Amplitude * std::sin(Omega * s.t);
        EXPECT_NEAR(s.supply, e, 1e-3 + 1e-3 * std::abs(e)) << "t = " << s.t;
        const double guard = 2 * Omega * Step; // two steps around each switching
        if (theta > Alpha + guard && theta < Pi - guard) {
            EXPECT_NEAR(s.load, ConductingLoadVoltage(e), 2e-3) << "t = " << s.t;
        } else if ((theta > guard && theta < Alpha - guard) || theta > Pi + guard) {
            // Blocking: only the leakage through Roff = 2e7 Ω reaches the load.
            EXPECT_LT(std::abs(s.load), 1e-3) << "t = " << s.t;
        }
    }
    // The current reaches zero with the supply at t = 10 ms and 30 ms: on
    // one step before, off one step after.
    for (const double zero : {0.5 * period, 1.5 * period}) {
        const auto at = [&](double t) { return samples[std::size_t(std::lround(t / Step))].load; };
        EXPECT_GT(at(zero - 3 * Step), 0.05);
        EXPECT_LT(std::abs(at(zero + 2 * Step)), 1e-3);
    }
}

// Every shipped thyristor, with each offered model, in the example circuit
// fired at 60°: it blocks before the pulse and in the negative half period
// (leaking only through Uобр/Iобр), and at the supply's peak it conducts with
// a forward drop below its datasheet on-state voltage (10 A flow, less than
// the test current of every shipped type).
TEST(ThyristorExamples, EveryShippedThyristorRunsWithBothModels) {
    TempDir dir;
    ScopedEnv env("QUENTOR_DB_DIR", dir.Path().string());
    const std::string db = std::string(QUENTOR_SOURCE_DIR) + "/data/Thyristors.edb";
    std::filesystem::copy_file(db, dir.File("Thyristors.edb"));
    RecordingMessages messages;
    const TIniFile file(db);
    ASSERT_GE(file.Sections().size(), 3u);
    for (const std::string& type : file.Sections())
        for (int method : {0, 1}) {
            const std::string what = type + " method " + std::to_string(method);
            Schematic sheet;
            ASSERT_EQ(LoadSchematic(sheet, ExamplePath("thyristor_half_wave.dvn")),
                      TLoadResult::Loaded);
            TBaseElement* th = nullptr;
            for (TBaseElement* e : sheet.Elements)
                if (e->ClassName() == "TThyristor") th = e;
            ASSERT_NE(th, nullptr);
            ASSERT_TRUE(th->LoadDeviceType(type)) << type;
            th->AutoModel = true;
            th->MethodIndex = method;
            ASSERT_TRUE(th->CalcModelParams()) << what;
            const double roff = th->ParamOf("Uобр") / th->ParamOf("Iобр");
            const double drop = th->ParamOf("Uос");
            TempDir out;
            ASSERT_TRUE(PrepareRun(sheet, out.Path().string())) << what;
            TRunOptions o;
            o.OutputDir = out.Path().string();
            o.MaxIterations = 100;
            const TRunResult r = RunSimulation(sheet, o);
            ASSERT_EQ(r.Status, TRunResult::Outcome::Finished) << what << ": " << r.Message;
            const auto rows = ReadGrafDat(out.File("graf.dat"));
            ASSERT_EQ(rows.size(), 400u);
            const double top = Amplitude * Rload / (Rload + Rsource);
            for (const auto& row : rows) {
                const double t = row[0], load = row[row.size() - 2];
                const double theta = std::fmod(Omega * t, 2 * Pi);
                const double e = Amplitude * std::sin(theta);
                if ((theta > 0.05 && theta < Alpha - 0.05) || theta > Pi + 0.05) {
                    EXPECT_LE(std::abs(load), std::abs(e) * Rload / roff * 1.01 + 2e-4)
                        << what << ", t = " << t;
                }
                if (std::abs(theta - Pi / 2) < 1e-6) {
                    EXPECT_LT(load, top - 0.3) << what;
                    EXPECT_GT(load, top - drop) << what;
                }
            }
        }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
}

// Through firing and turn-off the compiled loop and the literal dense one
// agree: the dense products read g and J of the main branch more than once
// per residual, the compiled loop once each, and the latch gives both the
// same values.
TEST(ThyristorExamples, HalfWaveMatchesTheDenseLoopThroughSwitching) {
    RecordingMessages messages;
    Schematic sheet;
    ASSERT_EQ(LoadSchematic(sheet, ExamplePath("thyristor_half_wave.dvn")), TLoadResult::Loaded);
    sheet.SimModel().T = 0.012;
    CompareWithOracle(sheet, "thyristor_half_wave.dvn");
}

} // namespace
