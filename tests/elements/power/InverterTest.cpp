#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/power/TAin.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/OracleCompare.h"
#include "support/RecordingMessages.h"

namespace {

constexpr double Pi = 3.141592653589793;
constexpr double Rload = 1000, Rsource = 0.01, Step = 1e-5;

struct TPhaseSample {
    double t;
    double phase[3];  // potentials of Connector_A, _B, _C
    double star;      // the inverter's internal star point
    double common;    // the load's star point
};

// The inverter loaded by three equal resistors joined at one point, which is
// grounded; optionally a control source of `control` volts (0.01 Ω inside)
// behind `series` ohms between U1 and U2, U2 grounded.
struct TInverterRig {
    Schematic sheet;
    TAin* inverter = nullptr;
    TBaseElement* loads[3] = {};
    TBaseElement* commonGround = nullptr;

    explicit TInverterRig(double k, double control = 0, double series = 0) {
        CircuitBuilder b(sheet);
        inverter = static_cast<TAin*>(b.Add("TAin", 300, 200));
        CircuitBuilder::Set(inverter, "k", k);
        const char* pins[3] = {"Connector_A", "Connector_B", "Connector_C"};
        for (int p = 0; p < 3; ++p) {
            loads[p] = b.Add("TResistor", 500, 120 + 80 * p);
            CircuitBuilder::Set(loads[p], "R", Rload);
            b.Wire(CircuitBuilder::Pin(inverter, pins[p]), CircuitBuilder::Pin(loads[p], "Connector1"));
        }
        b.Wire(CircuitBuilder::Pin(loads[0], "Connector2"), CircuitBuilder::Pin(loads[1], "Connector2"));
        b.WireToNode(CircuitBuilder::Pin(loads[2], "Connector2"),
                     CircuitBuilder::Pin(loads[0], "Connector2"));
        commonGround = b.Add("TGround", 700, 400);
        b.WireToNode(CircuitBuilder::Pin(commonGround, "Connector"),
                     CircuitBuilder::Pin(loads[0], "Connector2"));
        if (control == 0) return;
        TBaseElement* source = b.Add("TVoltageSource", 40, 200);
        CircuitBuilder::Set(source, "E", control);
        TBaseElement* ground = b.Add("TGround", 40, 400);
        b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(ground, "Connector"));
        b.WireToNode(CircuitBuilder::Pin(inverter, "U2"), CircuitBuilder::Pin(source, "Minus"));
        if (series > 0) {
            TBaseElement* r = b.Add("TResistor", 140, 100);
            CircuitBuilder::Set(r, "R", series);
            b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(r, "Connector1"));
            b.Wire(CircuitBuilder::Pin(r, "Connector2"), CircuitBuilder::Pin(inverter, "U1"));
        } else {
            b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(inverter, "U1"));
        }
    }

    std::vector<TPhaseSample> Run(double T) {
        TRunSettings& m = sheet.RunSettings;
        m.T = T;
        m.h = Step;
        m.GS = Step;
        std::vector<TPhaseSample> out;
        TRunContext context(sheet, "");
        if (!PrepareRun(context)) return out;
        const TConnector* pins[3] = {inverter->FindConnector("Connector_A"),
                                     inverter->FindConnector("Connector_B"),
                                     inverter->FindConnector("Connector_C")};
        const TConnector* common = loads[0]->FindConnector("Connector2");
        TRunOptions o;
        o.MaxIterations = 100;
        o.Sample = [&](double t, const std::vector<double>&) {
            TPhaseSample s{t, {}, sheet.Run().Potential(inverter->FNodeBase), common->GetPhi()};
            for (int p = 0; p < 3; ++p) s.phase[p] = pins[p]->GetPhi();
            out.push_back(s);
        };
        EXPECT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
        return out;
    }
};

// Every sample against the three EMFs of amplitude A and frequency f (the
// phase offsets 0, −120°, +120° applied as written, so B lags A and C leads
// it when f > 0), divided between Rg and the load. The first step reads the
// control from the potentials before any solution, all zero, so with a
// control voltage it is left out.
void ExpectPhases(const std::vector<TPhaseSample>& samples, double A, double f, double Rg,
                  const std::string& what, bool controlled = true) {
    ASSERT_FALSE(samples.empty()) << what;
    const double share = Rload / (Rload + Rg);
    const double offsets[3] = {0, -2 * Pi / 3, 2 * Pi / 3};
    double worst = 0;
    for (const TPhaseSample& s : samples) {
        if (controlled && s.t == 0) continue;
        for (int p = 0; p < 3; ++p) {
            const double expected = share * A * std::sin(2 * Pi * f * s.t + offsets[p]);
            worst = std::max(worst, std::abs(s.phase[p] - expected));
        }
        worst = std::max({worst, std::abs(s.star), std::abs(s.common)});
    }
    EXPECT_LT(worst, 1e-6 * A) << what;
}

// Phase B reaches its positive peak a third of a period after A, C two
// thirds after (a third before): read off the samples of one period.
double PeakTime(const std::vector<TPhaseSample>& samples, int p, double from, double to) {
    double best = -1e300, at = 0;
    for (const TPhaseSample& s : samples)
        if (s.t >= from && s.t < to && s.phase[p] > best) best = s.phase[p], at = s.t;
    return at;
}

TEST(InverterTables, PinsRowsAndDatabase) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TAin");
    const char* pins[] = {"U1", "U2", "Connector_A", "Connector_B", "Connector_C"};
    ASSERT_EQ(e->FConnectors.size(), 5u);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(e->FConnectors[std::size_t(i)], e->FindConnector(pins[i]));
    EXPECT_STREQ(e->DbSection, "Ains");
    EXPECT_EQ(e->ModelParamDefs, nullptr);
    EXPECT_EQ(e->ModelMethods, nullptr);
    const struct {
        const char *name, *description, *unit;
        double value;
    } rows[] = {{"k", "Коэффициет передачи", "Гц/В        ", 1.0},
                {"Rg", "Выходное сопротив.", "Ом", 0.01},
                {"Ru", "Входное сопротив.", "кОм", 10000}};
    ASSERT_EQ(ParamRowCount(e->RefParamDefs), 3);
    for (int i = 0; i < 3; ++i) {
        const ParamDef& d = e->RefParamDefs[i];
        EXPECT_STREQ(d.Name, rows[i].name);
        EXPECT_STREQ(d.Description, rows[i].description);
        EXPECT_STREQ(d.Units[d.DefaultUnit].Text, rows[i].unit);
        EXPECT_DOUBLE_EQ(d.DefaultValue, rows[i].value);
    }
    const ParamDef& rg = e->RefParamDefs[1];
    ASSERT_EQ(UnitCount(rg.Units), 4);
    EXPECT_STREQ(rg.Units[3].Text, "ГОм");
    EXPECT_DOUBLE_EQ(rg.Units[3].Factor, 1e9);
}

TEST(InverterRun, WithoutControlThreePhases220VAt50HzBLaggingAndCLeading) {
    RecordingMessages messages;
    TInverterRig rig(1);
    const auto samples = rig.Run(0.04);
    ASSERT_EQ(samples.size(), 4000u);
    EXPECT_TRUE(messages.Entries.empty());
    ExpectPhases(samples, 220, 50, 0.01, "no control", false);
    // The balanced load's star point and the inverter's star point stay
    // together; the peaks follow A, B, C a third of a period apart.
    const double a = PeakTime(samples, 0, 0.02, 0.04);
    EXPECT_NEAR(PeakTime(samples, 1, a, a + 0.02) - a, 0.02 / 3, 2 * Step);
    EXPECT_NEAR(PeakTime(samples, 2, a, a + 0.02) - a, 0.04 / 3, 2 * Step);
}

TEST(InverterRun, ControlSetsFrequencyAndAmplitudeAtConstantVoltsPerHertz) {
    RecordingMessages messages;
    // The 10 kΩ input takes half of a 50 V source behind 10 kΩ: 25 V. The
    // expected amplitude and frequency are those of the nominal control
    // voltage; the source's 0.01 Ω takes a millionth of it.
    const struct {
        double k, control, series, nominal, A, f;
        const char* what;
    } cases[] = {
        {1, 50, 0, 50, 220, 50, "50 V"},
        {1, 50, 10000, 25, 110, 25, "50 V behind 10 kΩ (25 V)"},
        {1.9, 50, 10000, 25, 110, 25, "k = 1.9 acts as 1"},
        {2, 25, 0, 25, 110, 50, "k = 2 doubles the frequency, not the amplitude"},
        {-2, 25, 0, 25, 110, -50, "negative k reverses the phase sequence"},
    };
    for (const auto& c : cases) {
        TInverterRig rig(c.k, c.control, c.series);
        const auto samples = rig.Run(0.03);
        const double u = c.control * 10000 / (10000 + c.series + Rsource);
        ExpectPhases(samples, c.A * u / c.nominal, c.f * u / c.nominal, 0.01, c.what);
    }
    // Below 1 V the control is ignored but K is not: 50·K Hz at 220 V.
    TInverterRig low(2, 0.5);
    ExpectPhases(low.Run(0.03), 220, 100, 0.01, "below 1 V", false);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(InverterRun, TransferBelowOneWarnsOnceAndHoldsThePhasesConstant) {
    RecordingMessages messages;
    TInverterRig rig(0.5, 50);
    const auto samples = rig.Run(0.01);
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "warning");
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Ain №0: коэффициент передачи k = 0.5 Гц/В усекается до 0: частота "
              "инвертора равна нулю, фазные ЭДС постоянны.");
    // Frequency 0: each phase holds Amplitude·sin(φX) with the amplitude of
    // the control voltage.
    const double u = 50 * 10000 / (10000 + Rsource), share = Rload / (Rload + 0.01);
    ASSERT_GT(samples.size(), 100u);
    for (const TPhaseSample& s : samples) {
        if (s.t == 0) continue;
        EXPECT_NEAR(s.phase[0], 0, 1e-9);
        EXPECT_NEAR(s.phase[1], -share * 4.4 * u * std::sin(2 * Pi / 3), 1e-6);
        EXPECT_NEAR(s.phase[2], share * 4.4 * u * std::sin(2 * Pi / 3), 1e-6);
    }
}

// A control that changes keeps the frequency it asks for: with the control
// ramping from 10 V at 100 V/s and k = 1 the phase A EMF passes zero
// upwards where 10·t + 50·t² passes a whole number, and its amplitude
// follows 4.4·u.
TEST(InverterRun, RampedControlKeepsTheFrequencyItAsksFor) {
    RecordingMessages messages;
    TInverterRig rig(1);
    CircuitBuilder b(rig.sheet);
    TBaseElement* ramp = b.Add("TRamp", 20, 600);
    CircuitBuilder::Set(ramp, "h", 100);
    TBaseElement* offset = b.Add("TConst", 20, 700);
    CircuitBuilder::Set(offset, "K", 10);
    TBaseElement* sum = b.Add("TSummingJunction", 120, 640);
    b.Link(ramp, sum);
    b.Link(offset, sum, 1);
    TBaseElement* control = b.Add("TControlledVoltage", 40, 200);
    b.Link(sum, control);
    TBaseElement* ground = b.Add("TGround", 40, 400);
    b.Wire(CircuitBuilder::Pin(control, "Minus"), CircuitBuilder::Pin(ground, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(rig.inverter, "U2"), CircuitBuilder::Pin(control, "Minus"));
    b.Wire(CircuitBuilder::Pin(control, "Plus"), CircuitBuilder::Pin(rig.inverter, "U1"));
    const auto samples = rig.Run(0.5);
    ASSERT_FALSE(samples.empty());
    std::vector<double> rises;
    double peak = 0;
    for (std::size_t k = 1; k < samples.size(); ++k) {
        if (samples[k - 1].phase[0] < 0 && samples[k].phase[0] >= 0) rises.push_back(samples[k].t);
        if (samples[k].t > 0.4) peak = std::max(peak, samples[k].phase[0]);
    }
    ASSERT_GE(rises.size(), 15u);
    for (std::size_t m = 0; m < rises.size(); ++m) {
        const double root = (-10 + std::sqrt(100 + 200.0 * double(m + 1))) / 100;
        EXPECT_NEAR(rises[m], root, 3 * Step) << "rise " << m;
    }
    // Between 0.4 s and 0.5 s the control rises from 50 V to 60 V.
    EXPECT_GT(peak, 4.4 * 50);
    EXPECT_LT(peak, 4.4 * 60);
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(InverterRun, RefusesNonPositiveResistances) {
    for (const char* name : {"Rg", "Ru"})
        for (double value : {0.0, -1.0}) {
            RecordingMessages messages;
            TInverterRig rig(1);
            rig.inverter->FindParam(name)->Value = value;
            TRunContext context(rig.sheet, "");
            EXPECT_FALSE(PrepareRun(context));
            ASSERT_EQ(messages.Entries.size(), 1u) << name;
            EXPECT_EQ(messages.Entries[0].Kind, "error");
            EXPECT_EQ(messages.Entries[0].Text,
                      std::string("Компонент Ain №0: параметр ") + name + " должен быть больше нуля.");
        }
}

// The EMFs are taken once a model time, as step values: the compiled loop
// keeps their columns and the literal dense loop reads them at every
// evaluation, and both give the same samples.
TEST(InverterRun, MatchesTheDenseLoop) {
    RecordingMessages messages;
    TInverterRig rig(1, 50, 10000);
    TRunSettings& m = rig.sheet.RunSettings;
    m.T = 0.005;
    m.h = Step;
    m.GS = Step;
    CompareWithOracle(rig.sheet, "inverter with a resistive star");
}

} // namespace
