#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "elements/power/TTvf.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/OracleCompare.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace {

constexpr double Rload = 1000, Rsource = 0.01, Step = 1e-5, Pulse = 10;

struct TChannelSample {
    double t;
    std::array<double, 6> v;  // first pin over second pin, per channel
};

// Each channel's first pin loaded by 1 kΩ to ground, its second pin grounded;
// optionally a control source of `control` volts between U1 and U2, U2
// grounded. Pulses of 10 V.
struct TConverterRig {
    Schematic sheet;
    TTvf* converter = nullptr;

    TConverterRig(double k, int method, double control = 0, double series = 0) {
        CircuitBuilder b(sheet);
        converter = static_cast<TTvf*>(b.Add("TTvf", 300, 300));
        CircuitBuilder::Set(converter, "k", k);
        CircuitBuilder::Set(converter, "A1", Pulse);
        converter->MethodIndex = method;
        for (int n = 1; n <= 6; ++n) {
            const std::string first = "Connector" + std::to_string(n);
            const std::string second = first + "_";
            TBaseElement* r = b.Add("TResistor", 600, 60 * n);
            CircuitBuilder::Set(r, "R", Rload);
            b.Wire(CircuitBuilder::Pin(converter, first.c_str()), CircuitBuilder::Pin(r, "Connector1"));
            TBaseElement* g = b.Add("TGround", 760, 60 * n);
            b.Wire(CircuitBuilder::Pin(r, "Connector2"), CircuitBuilder::Pin(g, "Connector"));
            TBaseElement* g2 = b.Add("TGround", 480, 500 + 60 * n);
            b.Wire(CircuitBuilder::Pin(converter, second.c_str()), CircuitBuilder::Pin(g2, "Connector"));
        }
        if (control == 0) return;
        TBaseElement* source = b.Add("TVoltageSource", 40, 300);
        CircuitBuilder::Set(source, "E", control);
        TBaseElement* ground = b.Add("TGround", 40, 500);
        b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(ground, "Connector"));
        b.WireToNode(CircuitBuilder::Pin(converter, "U2"), CircuitBuilder::Pin(source, "Minus"));
        if (series > 0) {
            TBaseElement* r = b.Add("TResistor", 140, 160);
            CircuitBuilder::Set(r, "R", series);
            b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(r, "Connector1"));
            b.Wire(CircuitBuilder::Pin(r, "Connector2"), CircuitBuilder::Pin(converter, "U1"));
        } else {
            b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(converter, "U1"));
        }
    }

    std::vector<TChannelSample> Run(double T) {
        TRunSettings& m = sheet.RunSettings;
        m.T = T;
        m.h = Step;
        m.GS = Step;
        std::vector<TChannelSample> out;
        TRunContext context(sheet, "");
        if (!PrepareRun(context)) return out;
        TRunOptions o;
        o.MaxIterations = 100;
        o.Sample = [&](double t, const std::vector<double>&) {
            TChannelSample s{t, {}};
            for (int n = 1; n <= 6; ++n) {
                const std::string first = "Connector" + std::to_string(n);
                s.v[std::size_t(n - 1)] = converter->FindConnector(first)->GetPhi() -
                                          converter->FindConnector(first + "_")->GetPhi();
            }
            out.push_back(s);
        };
        EXPECT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
        return out;
    }
};

const double OnLevel = Pulse * Rload / (Rload + 0.01);

// Channel n conducts from (n − 1)·T/6 into each period for `width`; every
// sample away from the edges against that, and each rising and falling edge
// in the first step after its instant. Reversed, the period runs backwards:
// channel n then rises when the time before the period's end reaches
// (n − 1)·T/6 + width.
void ExpectPulses(const std::vector<TChannelSample>& samples, double T, double width,
                  const std::string& what, bool reversed = false) {
    ASSERT_GT(samples.size(), 10u) << what;
    for (int n = 1; n <= 6; ++n) {
        const std::size_t c = std::size_t(n - 1);
        const double delay = reversed ? std::fmod(2 * T - width - (n - 1) * T / 6, T) : (n - 1) * T / 6;
        int rising = 0, falling = 0, wrong = 0;
        for (std::size_t k = 0; k < samples.size(); ++k) {
            const double t = samples[k].t, v = samples[k].v[c];
            double x = std::fmod(t - delay, T);
            if (x < 0) x += T;
            const bool nearEdge = x < 1e-9 || std::abs(x - width) < 1e-9 || T - x < 1e-9;
            if (!nearEdge && std::abs(v - (x < width ? OnLevel : 0.0)) > 1e-9) ++wrong;
            if (k == 0) continue;
            const double before = samples[k - 1].v[c];
            if (before < Pulse / 2 && v > Pulse / 2) {
                ++rising;
                // The instant of the rise lies within the last step.
                const double instant = delay + std::floor((t - delay) / T + 1e-9) * T;
                EXPECT_GE(t, instant - 1e-12) << what << ": channel " << n << " rises at " << t;
                EXPECT_LE(t, instant + Step + 1e-12) << what << ": channel " << n << " rises at " << t;
            }
            if (before > Pulse / 2 && v < Pulse / 2) {
                ++falling;
                const double instant = delay + width + std::floor((t - delay - width) / T + 1e-9) * T;
                EXPECT_GE(t, instant - 1e-12) << what << ": channel " << n << " falls at " << t;
                EXPECT_LE(t, instant + Step + 1e-12) << what << ": channel " << n << " falls at " << t;
            }
        }
        EXPECT_EQ(wrong, 0) << what << ": channel " << n;
        const double duration = samples.back().t;
        EXPECT_GE(rising, int(duration / T) - 1) << what << ": channel " << n;
        EXPECT_GE(falling, int(duration / T) - 1) << what << ": channel " << n;
    }
}

TEST(VoltageFrequencyConverterTables, PinsRowsMethodsAndDatabase) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTvf");
    ASSERT_EQ(e->FConnectors.size(), 14u);
    for (int n = 1; n <= 6; ++n) {
        const std::string first = "Connector" + std::to_string(n);
        EXPECT_EQ(e->FConnectors[std::size_t(2 * n - 2)], e->FindConnector(first));
        EXPECT_EQ(e->FConnectors[std::size_t(2 * n - 1)], e->FindConnector(first + "_"));
    }
    EXPECT_EQ(e->FConnectors[12], e->FindConnector("U1"));
    EXPECT_EQ(e->FConnectors[13], e->FindConnector("U2"));
    EXPECT_STREQ(e->DbSection, "Tvfs");
    ASSERT_EQ(MethodCount(e->ModelMethods), 2);
    EXPECT_STREQ(e->ModelMethods[0], "Модель c длительностью импулса Т/2");
    EXPECT_STREQ(e->ModelMethods[1], "Модель c длительностью импулса Т/3");
    ASSERT_EQ(ParamRowCount(e->ModelParamDefs), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_STREQ(e->ModelParamDefs[i].Name, "");
        EXPECT_STREQ(e->ModelParamDefs[i].Description, "");
        EXPECT_EQ(e->ModelParamDefs[i].MethodMask, 1u << i);
    }
    const struct {
        const char *name, *description, *unit;
        double value;
    } rows[] = {{"A1", "Амплитуда импульсов.", "        ", 1.0},
                {"k", "Коэффициет передачи", "Гц/В        ", 1.0},
                {"Rg", "Выходное сопротив.", "Ом", 0.01},
                {"Ru", "Входное сопротив.", "кОм", 10000}};
    ASSERT_EQ(ParamRowCount(e->RefParamDefs), 4);
    for (int i = 0; i < 4; ++i) {
        const ParamDef& d = e->RefParamDefs[i];
        EXPECT_STREQ(d.Name, rows[i].name);
        EXPECT_STREQ(d.Description, rows[i].description);
        EXPECT_STREQ(d.Units[d.DefaultUnit].Text, rows[i].unit);
        EXPECT_EQ(UnitCount(d.Units), i < 2 ? 1 : 4);
        EXPECT_DOUBLE_EQ(d.DefaultValue, rows[i].value);
    }
}

// The placeholder model rows go through a schematic file like any others:
// with the model typed by hand each method writes its one empty row, which
// reads back without a message, and the method and the values survive.
TEST(VoltageFrequencyConverterTables, PlaceholderRowsSurviveTheFile) {
    RecordingMessages messages;
    TempDir dir;
    for (int method : {0, 1}) {
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, "TTvf");
        e->MethodIndex = method;
        e->AutoModel = false;
        e->ManualRefs = true;
        e->FindParam("A1")->Value = 12;
        const std::string path = dir.File("tvf.dvn");
        ASSERT_TRUE(SaveSchematic(sheet, path));
        Schematic again;
        ASSERT_EQ(LoadSchematic(again, path), TLoadResult::Loaded);
        ASSERT_EQ(again.Elements.Count(), 1);
        TBaseElement* back = again.Elements[0];
        EXPECT_EQ(back->MethodIndex, method);
        EXPECT_FALSE(back->AutoModel);
        EXPECT_DOUBLE_EQ(back->ParamOf("A1"), 12);
        ASSERT_TRUE(SaveSchematic(again, dir.File("again.dvn")));
        EXPECT_EQ(FileBytes(path), FileBytes(dir.File("again.dvn")));
    }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
}

TEST(VoltageFrequencyConverterRun, WithoutControlSixPulsesOf10msAt50Hz) {
    RecordingMessages messages;
    TConverterRig rig(1, 0);
    const auto samples = rig.Run(0.06);
    ASSERT_EQ(samples.size(), 6000u);
    EXPECT_TRUE(messages.Entries.empty());
    ExpectPulses(samples, 0.02, 0.01, "no control, method 0");
}

TEST(VoltageFrequencyConverterRun, ControlSetsTheFrequencyAndTheMethodThePulseWidth) {
    RecordingMessages messages;
    // 20 V with k = 2: 40 Hz (less the millionth the source's 0.01 Ω takes).
    const double T = 1 / (2 * 20 * 10000 / (10000 + Rsource));
    {
        TConverterRig rig(2, 0, 20);
        ExpectPulses(rig.Run(0.1), T, T / 2, "20 V, k = 2, method 0");
    }
    {
        TConverterRig rig(2, 1, 20);
        ExpectPulses(rig.Run(0.1), T, T / 3, "20 V, k = 2, method 1");
    }
    // The 10 kΩ input takes half of 40 V behind 10 kΩ; k = 2.9 acts as 2:
    // 40 Hz again.
    {
        const double Tdivided = 1 / (2 * 40 * 10000 / (20000 + Rsource));
        TConverterRig rig(2.9, 0, 40, 10000);
        ExpectPulses(rig.Run(0.1), Tdivided, Tdivided / 2, "40 V behind 10 kΩ, k = 2.9");
    }
    // Below 1 V the converter runs at 50 Hz whatever k is.
    TConverterRig low(3, 1, 0.9);
    ExpectPulses(low.Run(0.06), 0.02, 0.02 / 3, "0.9 V, k = 3, method 1");
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(VoltageFrequencyConverterRun, TransferBelowOneWarnsOnceAndFreezesThePattern) {
    RecordingMessages messages;
    TConverterRig rig(0.5, 0, 20);
    const auto samples = rig.Run(0.03);
    ASSERT_EQ(messages.Entries.size(), 1u);
    EXPECT_EQ(messages.Entries[0].Kind, "warning");
    EXPECT_EQ(messages.Entries[0].Text,
              "Компонент Tvf №0: коэффициент передачи k = 0.5 Гц/В усекается до 0: при входном "
              "напряжении от 1 В частота импульсов равна нулю.");
    // The first step, before any solution, sees no control and starts a
    // 50 Hz period; then the frequency is 0 and the pattern stands at the
    // start of that period: channels 5 and 6 on, 2 and 3 off, 1 and 4 on
    // their boundary and still off from the start.
    ASSERT_FALSE(samples.empty());
    for (const TChannelSample& s : samples)
        for (int c = 0; c < 6; ++c)
            ASSERT_NEAR(s.v[std::size_t(c)], c >= 4 ? OnLevel : 0.0, 1e-9) << "t = " << s.t << ", channel " << c + 1;
}

TEST(VoltageFrequencyConverterRun, RefusesNonPositiveResistances) {
    for (const char* name : {"Rg", "Ru"})
        for (double value : {0.0, -1.0}) {
            RecordingMessages messages;
            TConverterRig rig(1, 0);
            rig.converter->FindParam(name)->Value = value;
            TRunContext context(rig.sheet, "");
            EXPECT_FALSE(PrepareRun(context));
            ASSERT_EQ(messages.Entries.size(), 1u) << name;
            EXPECT_EQ(messages.Entries[0].Kind, "error");
            EXPECT_EQ(messages.Entries[0].Text,
                      std::string("Компонент Tvf №0: параметр ") + name + " должен быть больше нуля.");
        }
}

// A negative k runs the phase backwards: the channels follow each other in
// the reverse order, 6, 5, … 1, as the inverter's phases do.
TEST(VoltageFrequencyConverterRun, NegativeTransferReversesTheSequence) {
    RecordingMessages messages;
    const double T = 1 / (2 * 20 * 10000 / (10000 + Rsource));
    TConverterRig rig(-2, 0, 20);
    ExpectPulses(rig.Run(0.1), T, T / 2, "20 V, k = -2, method 0", true);
    TConverterRig third(-2, 1, 20);
    ExpectPulses(third.Run(0.1), T, T / 3, "20 V, k = -2, method 1", true);
    EXPECT_TRUE(messages.Entries.empty());
}

// A control that changes keeps the frequency it asks for: a ramp of the
// control voltage from 10 V at 100 V/s with k = 1 gives the phase
// 10·t + 50·t² periods, so channel 1 rises where that passes a whole
// number.
TEST(VoltageFrequencyConverterRun, RampedControlKeepsTheFrequencyItAsksFor) {
    RecordingMessages messages;
    TConverterRig rig(1, 0);
    CircuitBuilder b(rig.sheet);
    TBaseElement* ramp = b.Add("TRamp", 20, 600);
    CircuitBuilder::Set(ramp, "h", 100);
    CircuitBuilder::Set(ramp, "t", 0);
    TBaseElement* offset = b.Add("TConst", 20, 700);
    CircuitBuilder::Set(offset, "K", 10);
    TBaseElement* sum = b.Add("TSummingJunction", 120, 640);
    b.Link(ramp, sum);
    b.Link(offset, sum, 1);
    TBaseElement* control = b.Add("TControlledVoltage", 40, 300);
    b.Link(sum, control);
    TBaseElement* ground = b.Add("TGround", 40, 500);
    b.Wire(CircuitBuilder::Pin(control, "Minus"), CircuitBuilder::Pin(ground, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(rig.converter, "U2"), CircuitBuilder::Pin(control, "Minus"));
    b.Wire(CircuitBuilder::Pin(control, "Plus"), CircuitBuilder::Pin(rig.converter, "U1"));
    const auto samples = rig.Run(0.5);
    ASSERT_FALSE(samples.empty());
    // The rises of channel 1 after the first: at the roots of
    // 10·t + 50·t² = m.
    std::vector<double> rises;
    for (std::size_t k = 1; k < samples.size(); ++k)
        if (samples[k - 1].v[0] < Pulse / 2 && samples[k].v[0] > Pulse / 2) rises.push_back(samples[k].t);
    ASSERT_GE(rises.size(), 15u);
    for (std::size_t m = 1; m < rises.size(); ++m) {
        const double root = (-10 + std::sqrt(100 + 200.0 * double(m))) / 100;
        EXPECT_NEAR(rises[m], root, 3 * Step) << "rise " << m;
    }
    EXPECT_TRUE(messages.Entries.empty());
}

// The channel outputs are taken once a model time, as step values: the
// compiled loop and the literal dense loop give the same samples through
// several edges.
TEST(VoltageFrequencyConverterRun, MatchesTheDenseLoop) {
    RecordingMessages messages;
    TConverterRig rig(2, 1, 20);
    TRunSettings& m = rig.sheet.RunSettings;
    m.T = 0.01;
    m.h = Step;
    m.GS = Step;
    CompareWithOracle(rig.sheet, "converter into six loads");
}

} // namespace
