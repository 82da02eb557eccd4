#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

#include "Simulation/RunContext.h"
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
    TRunSettings& m = sheet.RunSettings;
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

constexpr double Rbridge = 10.0, Lbridge = 0.1, Rbleeder = 1e3;

// The DC drive on the bridge: 220 V rms, fired at 30°, through a 50 mH
// smoothing choke into the armature of the motor of the DC machine examples
// (220 V, 10 A, 1500 об/мин, Ra = 1.35 Ω, La = 6.4 mH, J = 0.05 kg·m²)
// against its rated torque.
const double DriveAmplitude = 220 * std::sqrt(2.0);
constexpr double DriveAlpha = Pi / 6, Lchoke = 0.05, DriveT = 1.0;
constexpr double Ra = 1.35, La = 0.0064, Uan = 220, Ian = 10, Nn = 1500, Jdrive = 0.05;
// The nameplate's kΦ = (Uan − Ra·Ian)/ωn, with ωn = Nn/60·6.28 as the motor
// takes it: 1.31529 V·s/rad.
const double KPhi = (Uan - Ra * Ian) / (Nn / 60 * 6.28);
const double RatedTorque = KPhi * Ian;

// A fully controlled single-phase bridge on a 50 Hz sine. T1 (a to the
// positive rail) and T2 (negative rail to b) fire at ωt = α, T3 (b to the
// positive rail) and T4 (negative rail to a) half a period later; each gate
// has its own controlled EMF between control electrode and cathode, driven
// by a relay on a sine delayed by α or by α + π. The load, through an
// ammeter, is 10 Ω and 0.1 H in series (100 V, α = 60°), or the smoothing
// choke and the motor armature (the drive above). Plotted: the load voltage
// and current, and the motor's speed.
void BuildBridgeOn(Schematic& sheet, bool motor) {
    const double amplitude = motor ? DriveAmplitude : Amplitude;
    const double alpha = motor ? DriveAlpha : Alpha;
    ExampleBuilder b(sheet);
    TRunSettings& m = sheet.RunSettings;
    m.T = motor ? DriveT : 0.2;
    m.h = Step;
    m.GS = 1e-4;
    // The drive's potentials reach 300 V: a derivative increment of 1e-7
    // would lose five digits of the difference quotients to rounding, so that
    // nearly every step took a second iteration, and up to 67 where the
    // current starts again after a gap. sqrt(ε)·300 V is about 5e-6.
    if (motor) m.pr = 1e-5;
    auto thyristor = [&](const char* pin, TPoint at) {
        TBaseElement* t = b.Place("TThyristor", pin, at, 270);
        t->AutoModel = false;
        t->ResetParams();
        return t;
    };
    auto* t1 = thyristor("Cathode", {200, 100});
    auto* t4 = thyristor("Anode", {200, 440});
    auto* t3 = thyristor("Cathode", {400, 130});
    auto* t2 = thyristor("Anode", {400, 470});
    auto* vs = b.Place("TVoltageSin", "Plus", {320, 260});
    ExampleBuilder::Set(vs, "E", amplitude);
    ExampleBuilder::Set(vs, "w", Omega);
    auto* ammeter = b.Place("TAmper", "Connector1", {640, 130});
    TBaseElement *upper = nullptr, *lower = nullptr;
    if (motor) {
        upper = b.Place("TInductance", "Connector1", {640, 220}, 90);
        ExampleBuilder::Set(upper, "L", Lchoke);
        lower = b.Place("TMotor", "Connector1", {640, 310});
        ExampleBuilder::Set(lower, "Jd", Jdrive);
        ExampleBuilder::Set(lower, "Ra", Ra);
        ExampleBuilder::Set(lower, "La", La);
        ExampleBuilder::Set(lower, "Nn", Nn);
        ExampleBuilder::Set(lower, "Uan", Uan);
        ExampleBuilder::Set(lower, "Ian", Ian);
        lower->AutoModel = false;
        lower->MethodIndex = 0;
        ExampleBuilder::Set(lower, "Mc", RatedTorque);
    } else {
        upper = b.Place("TResistor", "Connector1", {640, 220}, 90);
        ExampleBuilder::Set(upper, "R", Rbridge, 0);
        lower = b.Place("TInductance", "Connector1", {640, 310}, 90);
        ExampleBuilder::Set(lower, "L", Lbridge);
    }
    auto* sensor = b.Place("TVoltageSummator", "Plus", {820, 100});
    auto* gS = b.Place("TGround", "Connector", {820, 200});
    auto* gN = b.Place("TGround", "Connector", {880, 440});

    b.Drag(t1, "Anode", PinAt(t4, "Cathode"));
    b.Drag(t3, "Anode", PinAt(t2, "Cathode"));
    b.Drag(t1, "Cathode", PinAt(sensor, "Plus"));
    b.Drag(t3, "Cathode", {400, 100});
    b.Drag(t4, "Anode", PinAt(gN, "Connector"));
    b.Drag(t2, "Anode", {400, 440});
    b.Drag(ammeter, "Connector1", {640, 100});
    b.Drag(ammeter, "Connector2", PinAt(upper, "Connector1"));
    b.Drag(upper, "Connector2", PinAt(lower, "Connector1"));
    b.Drag(lower, "Connector2", {640, 440});
    b.Drag(sensor, "Minus", PinAt(gS, "Connector"));
    b.Drag(vs, "Plus", {200, 260});
    b.Drag(vs, "Minus", {400, PinAt(vs, "Minus").y});
    // 1 kΩ from each supply terminal to the negative rail: without them the
    // supply would float behind four blocking thyristors, its potentials
    // settled only to within the solver's accuracy.
    for (const TPoint at : {TPoint{150, 300}, TPoint{520, 250}}) {
        auto* bleeder = b.Place("TResistor", "Connector1", at, 90);
        ExampleBuilder::Set(bleeder, "R", Rbleeder, 0);
        auto* ground = b.Place("TGround", "Connector", {at.x, at.y + 100});
        b.Drag(bleeder, "Connector1", {at.x == 150 ? 200 : 400, at.y});
        b.Drag(bleeder, "Connector2", PinAt(ground, "Connector"));
    }

    // Gate drives beside their thyristors: those of the upper ones turned
    // over, hanging from the positive rail; those of the lower ones joined
    // to their cathode wires.
    auto gate = [&](TBaseElement* t, TPoint minusAt, TPoint cathodeWire, int angle) {
        TBaseElement* cv = b.Place("TControlledVoltage", "Minus", minusAt, angle);
        b.Drag(cv, "Minus", cathodeWire);
        b.Drag(cv, "Plus", PinAt(t, "Control"));
        return cv;
    };
    auto* g1 = gate(t1, {250, 130}, {250, 100}, 180);
    auto* g3 = gate(t3, {450, 160}, {450, 100}, 180);
    auto* g4 = gate(t4, {250, 346}, {200, 346}, 0);
    auto* g2 = gate(t2, {450, 366}, {400, 366}, 0);

    auto* sine1 = b.PlaceBox("TSinusoid", 60, 540);
    ExampleBuilder::Set(sine1, "w", Omega, 1);
    ExampleBuilder::Set(sine1, "phi", -alpha, 1);
    auto* sine2 = b.PlaceBox("TSinusoid", 60, 620);
    ExampleBuilder::Set(sine2, "w", Omega, 1);
    ExampleBuilder::Set(sine2, "phi", -alpha - Pi, 1);
    auto* relay1 = b.PlaceBox("TRelay", 140, 540);
    auto* relay2 = b.PlaceBox("TRelay", 140, 620);
    for (TBaseElement* relay : {relay1, relay2}) {
        ExampleBuilder::Set(relay, "H", 5);
        ExampleBuilder::Set(relay, "L", 0);
    }
    b.Link(sine1, relay1);
    b.Link(sine2, relay2);
    b.Link(relay1, g1);
    b.Link(relay1, g2);
    b.Link(relay2, g3);
    b.Link(relay2, g4);
    b.Link(sensor, b.PlaceBox("TPlotter", 900, 80));
    b.Link(ammeter, b.PlaceBox("TPlotter", 900, 200));
    if (motor) b.Link(lower, b.PlaceBox("TPlotter", 900, 320));
}

void BuildBridge(Schematic& sheet) {
    BuildBridgeOn(sheet, false);
}

void BuildBridgeDrive(Schematic& sheet) {
    BuildBridgeOn(sheet, true);
}

const std::vector<ExampleGenerator> examples = {
    {"thyristor_half_wave.dvn", &BuildHalfWave},
    {"thyristor_bridge_rl.dvn", &BuildBridge},
    {"thyristor_bridge_dc_motor.dvn", &BuildBridgeDrive},
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
    sheet.RunSettings.GS = Step;
    TRunContext context(sheet, dir.Path().string());
    EXPECT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.MaxIterations = 100;
    const TRunResult r = RunSimulation(context, o);
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
            TRunContext context(sheet, out.Path().string());
            ASSERT_TRUE(PrepareRun(context)) << what;
            TRunOptions o;
            o.MaxIterations = 100;
            const TRunResult r = RunSimulation(context, o);
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
    sheet.RunSettings.T = 0.012;
    CompareWithOracle(sheet, "thyristor_half_wave.dvn");
}

// With the inductance the current flows without a break, so the mean
// voltage of the bridge is 2·Um·cos α/π less two forward drops (the
// on-state characteristic at the mean current), and the mean current is that
// voltage over the load resistance (with the ammeter's 0.01 Ω).
TEST(ThyristorExamples, BridgeWithInductiveLoadGivesTwoUmCosAlphaOverPi) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("thyristor_bridge_rl.dvn", 2);
    ASSERT_EQ(rows.size(), 2000u);
    double voltage = 0, current = 0, least = 1e9;
    int n = 0;
    for (const auto& row : rows)
        if (row[0] >= 0.16 - 1e-9) {
            voltage += row[1];
            current += row[2];
            least = std::min(least, row[2]);
            ++n;
        }
    ASSERT_EQ(n, 400);
    voltage /= n;
    current /= n;
    double drop = 0.728; // the forward drop at the mean current, from the characteristic
    for (int k = 0; k < 50; ++k)
        drop = 0.728 + (current - 0.1) * (1 - 0.728) / (10 - 0.1);
    const double ideal = 2 * Amplitude * std::cos(Alpha) / Pi - 2 * drop;
    EXPECT_NEAR(voltage, ideal, 0.02 * ideal);
    EXPECT_NEAR(current, voltage / (Rbridge + 0.01), 0.01 * current);
    EXPECT_GT(least, 0.2 * current); // continuous conduction: never near zero
    EXPECT_TRUE(messages.Entries.empty());
}

struct DriveSample {
    double t, voltage, current, speed;
};

// Runs the drive fired at α with a sample at every step.
std::vector<DriveSample> RunBridgeDrive(double alpha) {
    Schematic sheet;
    TempDir dir;
    EXPECT_EQ(LoadSchematic(sheet, ExamplePath("thyristor_bridge_dc_motor.dvn")),
              TLoadResult::Loaded);
    // Both gate sines keep their half period between them.
    for (TBaseElement* e : sheet.Elements)
        if (e->ClassName() == "TSinusoid") e->FindParam("phi")->Value -= alpha - DriveAlpha;
    sheet.RunSettings.GS = Step;
    TRunContext context(sheet, dir.Path().string());
    EXPECT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.MaxIterations = 100;
    const TRunResult r = RunSimulation(context, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
    std::vector<DriveSample> out;
    for (const auto& row : ReadGrafDat(dir.File("graf.dat"))) {
        const std::size_t n = row.size();
        out.push_back({row[0], row[n - 3], row[n - 2], row[n - 1]});
    }
    return out;
}

// In steady state the mean of J·dω/dt is zero, so the armature carries
// Mc/kΦ = Ian on average; the mean of L·di/dt is zero too, so the mean
// bridge voltage drives that current through the resistances against the
// back EMF: ω = (Ud − (Ra + 0.01 Ω of the ammeter)·I)/kΦ. With the current
// never breaking, the bridge voltage is the supply EMF, turned over by the
// pair whose gates are driven, less two forward drops (the on-state
// characteristic is linear above its knee, so the mean drop is the drop at
// the mean current) and the supply's 0.01 Ω, which carries the armature
// current in either half period: Ud = 2·Um·cos α/π − 2·Uf − 0.01 Ω·I.
//
// The run fires on the step grid, and its samples are the values at the
// steps, so the reference takes the ideal bridge voltage at the same
// steps: that differs from 2·Um·cos α/π by up to one step of the jump
// 2·Um·sin α in every half period (0.31 V at 30°), a margin in which a
// firing one step late would hide; none of the angles falls on a step, so
// the firing step is not left to the rounding of the model time. What is
// left: the 1 kΩ bleeders pass about 0.2 A
// through one thyristor of each pair and the supply's resistance (0.01 V),
// and the mechanical transient, whose last swing of 0.01 rad/s after the
// current gaps of the start has not quite died out at 0.8 s, where the
// averaging starts. So the mean voltage must agree within 0.05 V and the
// speed within 0.05 V/kΦ + 0.02 rad/s; the mean current is the torque
// balance, within the 0.1 % that the residual transient can leave.
TEST(ThyristorExamples, BridgeDriveSettlesWhereTheMeanArmatureVoltagePutsIt) {
    RecordingMessages messages;
    const double Rsupply = 0.01, Rammeter = 0.01;
    const double Ron = (1 - 0.728) / (10 - 0.1);
    // 30° is 166.7 steps after the zero crossing, 40° 222.2 steps.
    for (const double alpha : {DriveAlpha, 2 * Pi / 9}) {
        const auto samples = RunBridgeDrive(alpha);
        ASSERT_EQ(samples.size(), std::size_t(std::lround(DriveT / Step)));
        double voltage = 0, current = 0, speed = 0, ideal = 0;
        double least = 1e9, slowest = 1e9, fastest = -1e9;
        // The last ten periods of the 100 Hz ripple, from 0.8 s on.
        const int n = 20000;
        for (auto s = samples.end() - n; s != samples.end(); ++s) {
            voltage += s->voltage;
            current += s->current;
            speed += s->speed;
            least = std::min(least, s->current);
            slowest = std::min(slowest, s->speed);
            fastest = std::max(fastest, s->speed);
            // T1 and T2 conduct from their firing at α until T3 and T4
            // take over at α + π.
            const double e = DriveAmplitude * std::sin(Omega * s->t);
            ideal += std::sin(Omega * s->t - alpha) >= 0 ? e : -e;
        }
        voltage /= n;
        current /= n;
        speed /= n;
        ideal /= n;
        const std::string what = "alpha = " + std::to_string(alpha);
        const double closedForm = 2 * DriveAmplitude * std::cos(alpha) / Pi;
        EXPECT_NEAR(ideal, closedForm, 2 * DriveAmplitude * std::sin(alpha) * Step / 0.01) << what;

        const double I = RatedTorque / KPhi;
        const double drop = 0.728 + (I - 0.1) * Ron;
        const double Ud = ideal - 2 * drop - Rsupply * I;
        const double omega = (Ud - (Ra + Rammeter) * I) / KPhi;
        EXPECT_NEAR(current, I, 1e-3 * I) << what;
        EXPECT_GT(least, 0.1 * I) << what; // continuous conduction
        EXPECT_NEAR(voltage, Ud, 0.05) << what;
        EXPECT_NEAR(speed, omega, 0.05 / KPhi + 0.02) << what;
        EXPECT_LT(fastest - slowest, 0.01 * omega) << what; // the shaft smooths the ripple
    }
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
