#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "elements/machines/InductionRig.h"
#include "elements/machines/TAtd.h"
#include "elements/power/TAin.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "support/CircuitBuilder.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

using InductionRig::Pi;

bool SameNode(TBaseElement* a, const char* pinA, TBaseElement* b, const char* pinB) {
    const TConnector* x = a->FindConnector(pinA);
    const TConnector* y = b->FindConnector(pinB);
    return x && y && x->IsConnected() && y->IsConnected() && x->FLink->FNode == y->FLink->FNode;
}

void Wire(ExampleBuilder& b, TBaseElement* from, const char* pin, TBaseElement* to,
          const char* toPin) {
    b.Drag(from, pin, to->FindConnector(toPin)->GetLink());
    EXPECT_TRUE(SameNode(from, pin, to, toPin))
        << from->Name() << "." << pin << " to " << to->Name() << "." << toPin;
}

TBaseElement* Ground(ExampleBuilder& b, TBaseElement* e, const char* pin, int dy = 30) {
    const TPoint at = e->FindConnector(pin)->GetLink();
    TBaseElement* ground = b.Place("TGround", "Connector", {at.x, at.y + dy});
    Wire(b, e, pin, ground, "Connector");
    return ground;
}

// A ground dropped onto the middle of the longest segment of the pin's wire.
void TapGround(ExampleBuilder& b, TBaseElement* e, const char* pin) {
    const TElectricLine* longest = nullptr;
    auto length = [](const TElectricLine* s) {
        return std::abs(s->EndPoint().x - s->StartPoint().x) + std::abs(s->EndPoint().y - s->StartPoint().y);
    };
    for (const TElectricLine* s : e->FindConnector(pin)->FLink->FNode->Segments)
        if (!longest || length(s) > length(longest)) longest = s;
    ASSERT_NE(longest, nullptr);
    const TPoint mid{(longest->StartPoint().x + longest->EndPoint().x) / 2,
                     (longest->StartPoint().y + longest->EndPoint().y) / 2};
    TBaseElement* ground = b.Place("TGround", "Connector", {mid.x, mid.y - 30});
    b.Drag(ground, "Connector", mid);
    EXPECT_TRUE(SameNode(ground, "Connector", e, pin));
}

void Settings(Schematic& sheet, double T, double h, double GS) {
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = GS;
}

// The V/f drive: the control voltage rises at 50 V/s from 1 V at the start
// (the ramp began 20 ms before the run, so that the inverter never sees the
// 50 Hz, 220 V it gives below 1 V) up to a limit of 50 V, reached at 0.98 s,
// and is applied between U1 and U2 of the inverter (k = 1: 1 Hz and 4.4 V per
// volt) by a controlled EMF. The inverter feeds the squirrel-cage motor of
// the induction examples, loaded by a torque rising with the speed,
// 6 N·m at 314.16 rad/s. Plotted: the speed (input 1) and the synchronous
// speed 2π·u (input 2).
constexpr double RampRate = 50, RampStart = -0.02, DriveLimit = 50, DriveT = 2;
constexpr double ViscousTorque = 6, ViscousSpeed = 100 * Pi;

void VfInductionDrive(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* ramp = b.PlaceBox("TRamp", 20, 200);
    ExampleBuilder::Set(ramp, "h", RampRate);
    ExampleBuilder::Set(ramp, "t", RampStart);
    TBaseElement* limit = b.PlaceBox("TLimit", 100, 200);
    ExampleBuilder::Set(limit, "H", DriveLimit);
    ExampleBuilder::Set(limit, "L", 0);
    b.Link(ramp, limit);
    TBaseElement* control = b.PlaceBox("TControlledVoltage", 200, 230);
    b.Link(limit, control);
    TBaseElement* inverter = b.PlaceBox("TAin", 300, 200);
    Wire(b, control, "Plus", inverter, "U1");
    Ground(b, control, "Minus", 40);
    Ground(b, inverter, "U2", 60);
    TBaseElement* motor = b.PlaceBox("TAtd", 520, 210);
    ExampleBuilder::Set(motor, "Rc", InductionRig::Example.Rc);
    ExampleBuilder::Set(motor, "Lc", InductionRig::Example.Lc);
    ExampleBuilder::Set(motor, "Rp", InductionRig::Example.Rp);
    ExampleBuilder::Set(motor, "Lp", InductionRig::Example.Lp);
    ExampleBuilder::Set(motor, "M", InductionRig::Example.M);
    ExampleBuilder::Set(motor, "Jd", InductionRig::Example.J);
    motor->MethodIndex = 3;
    ExampleBuilder::Set(motor, "Mv", ViscousTorque);
    ExampleBuilder::Set(motor, "Wnom", ViscousSpeed);
    ExampleBuilder::Set(motor, "LLL", 1);
    motor->AutoModel = false;
    Wire(b, inverter, "Connector_A", motor, "Connector_A");
    Wire(b, inverter, "Connector_B", motor, "Connector_B");
    Wire(b, inverter, "Connector_C", motor, "Connector_C");
    EXPECT_FALSE(SameNode(motor, "Connector_A", motor, "Connector_B"));
    EXPECT_FALSE(SameNode(motor, "Connector_B", motor, "Connector_C"));
    // The inverter's outputs are isolated from its input: one ground on
    // phase A gives the circuit of inverter and motor its reference (it
    // carries no current, nothing else of that circuit being grounded).
    TapGround(b, inverter, "Connector_A");

    b.Link(motor, b.PlaceBox("TPlotter", 680, 220));
    TBaseElement* synchronous = b.PlaceBox("TGain", 200, 340);
    ExampleBuilder::Set(synchronous, "K", 2 * Pi);
    b.Link(limit, synchronous);
    b.Link(synchronous, b.PlaceBox("TPlotter", 440, 340));
    Settings(sheet, DriveT, 1e-5, 1e-3);
}


// A three-phase bridge of six electronic switches from a 300 V DC link into
// a star of 10 Ω + 20 mH per phase, gated by the voltage-frequency converter
// with no control voltage (50 Hz, method 0: each switch on for half a
// period). Channel n drives switch n of the usual numbering, the switches
// firing in turn every sixth of a period: 1 A upper, 2 C lower, 3 B upper,
// 4 A lower, 5 C upper, 6 B lower; each channel's pins go to its switch's
// control electrode and cathode. The switches conduct both ways with
// 0.01 Ω (on) and 1 GΩ (off), so one of each leg always carries the current
// (but for the first step, in which channels 1 and 4 stand on their window
// boundary and keep their initial 0, leaving leg A open).
// Plotted: the line-to-line voltage A−B (input 1) and the phase voltage of
// A against the load's star point (input 2).
constexpr double Udc = 300, InverterR = 10, InverterL = 0.02, InverterT = 0.1;

void SixPulseInverter(Schematic& sheet) {
    CircuitBuilder b(sheet);
    auto pin = [](TBaseElement* e, const char* name) { return CircuitBuilder::Pin(e, name); };
    TBaseElement* link = b.Add("TVoltageSource", 40, 200);
    ExampleBuilder::Set(link, "E", Udc);
    TBaseElement* linkGround = b.Add("TGround", 40, 320);
    b.Wire(pin(link, "Minus"), pin(linkGround, "Connector"));
    TBaseElement* tvf = b.Add("TTvf", 200, 420);
    ExampleBuilder::Set(tvf, "A1", 10);
    // Legs A, B, C from left to right: upper and lower switch, the channels
    // that gate them.
    const int upperChannel[3] = {1, 3, 5}, lowerChannel[3] = {4, 6, 2};
    TBaseElement *upper[3], *lower[3], *resistors[3], *chokes[3];
    for (int x = 0; x < 3; ++x) {
        upper[x] = b.Add("TSwitch", 400 + 160 * x, 100);
        lower[x] = b.Add("TSwitch", 400 + 160 * x, 260);
        for (TBaseElement* s : {upper[x], lower[x]}) {
            ExampleBuilder::Set(s, "Ron", 0.01, 0);
            const int channel = s == upper[x] ? upperChannel[x] : lowerChannel[x];
            const std::string first = "Connector" + std::to_string(channel);
            b.Wire(pin(tvf, first.c_str()), pin(s, "Control"));
            b.Wire(pin(tvf, (first + "_").c_str()), pin(s, "Cathode"));
        }
        b.WireToNode(pin(lower[x], "Anode"), pin(upper[x], "Cathode"));
        TBaseElement* ground = b.Add("TGround", 440 + 160 * x, 360);
        b.WireToNode(pin(ground, "Connector"), pin(lower[x], "Cathode"));
        resistors[x] = b.Add("TResistor", 960, 100 + 120 * x);
        ExampleBuilder::Set(resistors[x], "R", InverterR, 0);
        b.WireToNode(pin(resistors[x], "Connector1"), pin(upper[x], "Cathode"));
        chokes[x] = b.Add("TInductance", 1060, 100 + 120 * x);
        ExampleBuilder::Set(chokes[x], "L", InverterL);
        b.Wire(pin(resistors[x], "Connector2"), pin(chokes[x], "Connector1"));
    }
    b.Wire(pin(link, "Plus"), pin(upper[0], "Anode"));
    b.WireToNode(pin(upper[1], "Anode"), pin(upper[0], "Anode"));
    b.WireToNode(pin(upper[2], "Anode"), pin(upper[0], "Anode"));
    b.Wire(pin(chokes[0], "Connector2"), pin(chokes[1], "Connector2"));
    b.WireToNode(pin(chokes[2], "Connector2"), pin(chokes[0], "Connector2"));

    TBaseElement* line = b.Add("TVoltageSummator", 1200, 500);
    b.WireToNode(pin(line, "Plus"), pin(upper[0], "Cathode"));
    b.WireToNode(pin(line, "Minus"), pin(upper[1], "Cathode"));
    TBaseElement* phase = b.Add("TVoltageSummator", 1300, 500);
    b.WireToNode(pin(phase, "Plus"), pin(upper[0], "Cathode"));
    b.WireToNode(pin(phase, "Minus"), pin(chokes[0], "Connector2"));
    b.Link(line, b.Add("TPlotter", 1260, 640));
    b.Link(phase, b.Add("TPlotter", 1360, 640));
    Settings(sheet, InverterT, 1e-5, 1e-5);
}

const std::vector<ExampleGenerator> examples = {
    {"vf_induction_drive.dvn", &VfInductionDrive},
    {"six_pulse_inverter.dvn", &SixPulseInverter},
};

TEST(ConverterExamples, GeneratorsReproduceTheCommittedFiles) {
    ExpectGeneratorsReproduce(examples);
}

// The motor's steady state at the inverter's frequency and voltage from the
// per-phase T-circuit: the slip at which the air-gap torque meets the load,
// Mv·(1 − s)·ωs/Wnom, on the stable branch.
double SteadySlip(double u) {
    const InductionRig::TTCircuit tc(InductionRig::Example, 0.01);
    const double ws = 2 * Pi * u, V = 4.4 * u / std::sqrt(2.0);
    auto excess = [&](double s) {
        return tc.Torque(s, V, ws) - ViscousTorque * (1 - s) * ws / ViscousSpeed;
    };
    double lo = 1e-9, hi = 0.5;
    for (int k = 0; k < 200; ++k) {
        const double mid = 0.5 * (lo + hi);
        (excess(mid) < 0 ? lo : hi) = mid;
    }
    return 0.5 * (lo + hi);
}

// Runs the drive example with the control limited to `limit` volts; per
// sample the time, the speed and the synchronous speed.
std::vector<std::vector<double>> RunDrive(double limit) {
    Schematic sheet;
    TempDir dir;
    EXPECT_EQ(LoadSchematic(sheet, ExamplePath("vf_induction_drive.dvn")), TLoadResult::Loaded);
    for (TBaseElement* e : sheet.Elements)
        if (e->ClassName() == "TLimit") e->FindParam("H")->Value = limit;
    TRunContext context(sheet, dir.Path().string());
    EXPECT_TRUE(PrepareRun(context));
    TRunOptions o;
    o.MaxIterations = 100;
    const TRunResult r = RunSimulation(context, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished) << r.Message;
    std::vector<std::vector<double>> out;
    for (const auto& row : ReadGrafDat(dir.File("graf.dat")))
        out.push_back({row.front(), row[row.size() - 2], row.back()});
    return out;
}

// At both control voltages the speed settles where the T-circuit at the
// inverter's frequency K·u and voltage 4.4·u/√2 rms carries the load: the
// same V/f gives nearly the same slip in hertz. While the control ramps the
// speed follows the synchronous speed from below.
TEST(ConverterExamples, VfDriveSettlesOnTheTCircuitSlipAtEachControlVoltage) {
    RecordingMessages messages;
    for (const double u : {DriveLimit, DriveLimit / 2}) {
        const auto rows = RunDrive(u);
        ASSERT_EQ(rows.size(), 2000u);
        double speed = 0;
        int n = 0;
        for (const auto& row : rows) {
            if (row[0] >= DriveT - 0.2) speed += row[1], ++n;
            // While the control rises the motor drives the shaft: it runs
            // below the synchronous speed.
            if (row[0] > 0.01 && row[0] < u / RampRate) {
                ASSERT_LT(row[1], row[2]) << "t = " << row[0];
            }
        }
        speed /= n;
        const double ws = 2 * Pi * u;
        EXPECT_NEAR(rows.back()[2], ws, 1e-4);  // graf.dat keeps four decimals
        const double slip = 1 - speed / ws, expected = SteadySlip(u);
        EXPECT_NEAR(slip, expected, 0.02 * expected) << u << " V";
    }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
}

// The six-step waveform: over the last two periods the line-to-line voltage
// sits at +Udc, 0, −Udc, 0 for 120°, 60°, 120°, 60° of each period, and its
// fundamental (one bin of the discrete Fourier transform over whole periods)
// has the rms value √6/π·Udc. The phase voltage against the load's star
// steps through ±Udc/3 and ±2·Udc/3.
TEST(ConverterExamples, SixPulseInverterLineVoltageHasTheSixStepFundamental) {
    RecordingMessages messages;
    const auto rows = RunExampleConsumers("six_pulse_inverter.dvn", 2);
    ASSERT_GE(rows.size(), 10000u);
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
    const double w = 2 * Pi * 50;
    double a = 0, c = 0;
    int n = 0, high = 0, zero = 0, low = 0, phaseLevels = 0;
    for (const auto& row : rows) {
        if (row[0] < InverterT - 0.04 - 1e-9 || row[0] > InverterT - 1e-9) continue;
        a += row[1] * std::cos(w * row[0]);
        c += row[1] * std::sin(w * row[0]);
        ++n;
        if (std::abs(row[1] - Udc) < 0.01 * Udc) ++high;
        if (std::abs(row[1]) < 0.01 * Udc) ++zero;
        if (std::abs(row[1] + Udc) < 0.01 * Udc) ++low;
        for (double level : {Udc / 3, 2 * Udc / 3})
            if (std::abs(std::abs(row[2]) - level) < 0.01 * Udc) ++phaseLevels;
    }
    ASSERT_EQ(n, 4000);
    const double rms = std::hypot(a, c) * 2 / n / std::sqrt(2.0);
    const double expected = std::sqrt(6.0) / Pi * Udc;
    EXPECT_NEAR(rms, expected, 0.02 * expected);
    // Away from the switching instants every sample is on a level.
    EXPECT_NEAR(high, n / 3, 10);
    EXPECT_NEAR(low, n / 3, 10);
    EXPECT_NEAR(zero, n / 3, 10);
    EXPECT_GE(phaseLevels, n - 20);
}

// Power flows from the inverter into the motor: the energy the three phase
// branches deliver at the motor's pins (their currents g·(E − u) from the
// inverter's star point out to the pins, times the pin potentials) equals
// the motor's copper losses, its stored magnetic and kinetic energy and the
// work done on the load, within 1 %, over the ramp and the first 0.2 s of
// the plateau.
TEST(ConverterExamples, VfDriveEnergyBalanceCloses) {
    RecordingMessages messages;
    Schematic sheet;
    ASSERT_EQ(LoadSchematic(sheet, ExamplePath("vf_induction_drive.dvn")), TLoadResult::Loaded);
    TAin* inverter = nullptr;
    TAtd* motor = nullptr;
    for (TBaseElement* e : sheet.Elements) {
        if (e->ClassName() == "TAin") inverter = static_cast<TAin*>(e);
        if (e->ClassName() == "TAtd") motor = static_cast<TAtd*>(e);
    }
    ASSERT_TRUE(inverter && motor);
    TRunSettings& m = sheet.RunSettings;
    m.T = 1.2;
    m.GS = m.h;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    const char* pins[3] = {"Connector_A", "Connector_B", "Connector_C"};
    double input = 0, copper = 0, load = 0, last = 0;
    TRunOptions o;
    o.MaxIterations = 100;
    o.Sample = [&](double t, const std::vector<double>&) {
        const double dt = t - last;
        last = t;
        if (dt <= 0) return;
        const double star = sheet.Run().Potential(inverter->FNodeBase);
        double p = 0;
        for (int k = 0; k < 3; ++k) {
            const double phi = inverter->FindConnector(pins[k])->GetPhi();
            p += phi * (inverter->Emf[k] - (phi - star)) / inverter->Rg;
        }
        input += p * dt;
        const auto& x = motor->Machine;
        double loss = 0;
        for (int k = 0; k < 3; ++k) loss += x.Rc * x.Is[k] * x.Is[k] + x.Rp * x.Ir[k] * x.Ir[k];
        copper += loss * dt;
        load += x.Ml * x.W * dt;
    };
    ASSERT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
    const auto& x = motor->Machine;
    double magnetic = 0;
    for (int k = 0; k < 3; ++k) magnetic += 0.5 * (x.Psi[k] * x.Is[k] + x.Psi[3 + k] * x.Ir[k]);
    const double kinetic = 0.5 * x.J * x.W * x.W;
    EXPECT_GT(input, 0.0);
    EXPECT_GT(kinetic, 0.2 * input);
    EXPECT_GT(load, 0.2 * input);
    EXPECT_NEAR(copper + magnetic + kinetic + load, input, 0.01 * input)
        << "copper " << copper << " magnetic " << magnetic << " kinetic " << kinetic << " load " << load;
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
