#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "Simulation/InputNames.h"
#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/ElementNames.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "params/ParamDef.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

namespace {

using P = CircuitBuilder;

std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A 12 V source turning a DC motor; its speed goes to the first plotter and,
// through a gain, to the second; a display is left unlinked.
struct MotorSheet {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b{sheet};
    TBaseElement* motor = nullptr;
    TBaseElement* gain = nullptr;
    TempDir dir;

    MotorSheet() {
        auto* source = b.Add("TVoltageSource", 60, 100);
        auto* ground = b.Add("TGround", 60, 300);
        motor = b.Add("TMotor", 360, 120);
        b.Wire(P::Pin(source, "Minus"), P::Pin(ground, "Connector"));
        b.Wire(P::Pin(source, "Plus"), P::Pin(motor, "Connector1"));
        b.WireToNode(P::Pin(motor, "Connector2"), P::Pin(ground, "Connector"));
        gain = b.Add("TGain", 520, 200);
        auto* speed = b.Add("TPlotter", 700, 100);
        auto* scaled = b.Add("TPlotter", 700, 200);
        b.Add("TDisplay", 700, 300);
        b.Link(motor, speed);
        b.Link(motor, gain);
        b.Link(gain, scaled);
        sheet.RunSettings.T = 0.002;
        sheet.RunSettings.h = 1e-4;
        sheet.RunSettings.GS = 1e-3;
    }

    std::string Run() {
        TRunContext context(sheet, dir.Path().string());
        EXPECT_TRUE(PrepareRun(context));
        TRunOptions o;
        EXPECT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished);
        return FileText(dir.File("graf.names"));
    }
};

TEST(InputNames, TheRunNamesEachRecordedInputAfterWhatFeedsIt) {
    MotorSheet s;
    EXPECT_EQ(s.Run(), "1\tM1: скорость, рад/с\n2\tA1\n3\t\n");
    // One line per column of graf.grp, in its order.
    EXPECT_EQ(ReadGrafGrp(s.dir.File("graf.grp")).Consumers, 3);

    // The motor's output option decides what its line says.
    s.motor->FindParam("vv")->Unit = 3;
    EXPECT_EQ(s.Run(), "1\tM1: вращающий момент, Н·м\n2\tA1\n3\t\n");
    s.motor->FindParam("vv")->Unit = 1;
    EXPECT_EQ(s.Run(), "1\tM1: скорость, об/мин\n2\tA1\n3\t\n");
    EXPECT_TRUE(s.messages.Entries.empty()) << s.messages.Texts().front();
}

TEST(InputNames, SensorsSayWhatTheyMeasureAndNamesFollowTheElementOrder) {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b{sheet};
    b.Add("TResistor", 100, 100);
    auto* ammeter = b.Add("TAmper", 100, 200);
    auto* voltmeter = b.Add("TVoltageSummator", 100, 300);
    auto* sine = b.Add("TSinusoid", 100, 400);
    auto* second = b.Add("TAmper", 100, 500);
    for (TBaseElement* source : {voltmeter, ammeter, sine, second, ammeter})
        b.Link(source, b.Add("TPlotter", 400, 100 + 80 * sheet.Elements.Count()));
    EXPECT_EQ(ConsumerInputNames(sheet),
              (std::vector<std::string>{"PV1: напряжение, В", "PA1: ток, А", "A1", "PA2: ток, А",
                                        "PA1: ток, А"}));
    EXPECT_EQ(InputNamesText({"PV1: напряжение, В", ""}), "1\tPV1: напряжение, В\n2\t\n");
    EXPECT_TRUE(messages.Entries.empty());
}

TEST(InputNames, PreparingARunRemovesTheNamesOfTheLastOne) {
    MotorSheet s;
    s.Run();
    ASSERT_TRUE(std::filesystem::exists(s.dir.File("graf.names")));
    TRunContext context(s.sheet, s.dir.Path().string());
    EXPECT_TRUE(PrepareRun(context));
    EXPECT_FALSE(std::filesystem::exists(s.dir.File("graf.names")));
}

TEST(InputNames, EveryMachineOutputOptionHasAQuantity) {
    RecordingMessages messages;
    int options = 0;
    for (const TElementClass* cls : AllElementClasses()) {
        if (!cls->Create) continue;
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, cls->Name);
        for (const ParamValue& v : e->ParamValues) {
            if (!v.Def || !v.Def->Name || std::string(v.Def->Name) != "vv") continue;
            for (int k = 0; k < UnitCount(v.Def->Units); ++k, ++options) {
                const std::string text = v.Def->Units[k].Text;
                const std::string quantity = OutputOptionQuantity(text);
                // A name, a comma and the unit, all spelt out.
                EXPECT_NE(quantity.find(", "), std::string::npos) << cls->Name << " " << text;
                EXPECT_EQ(quantity.find_first_of("MH"), std::string::npos) << cls->Name << " " << text;
            }
        }
    }
    EXPECT_GT(options, 30);
    EXPECT_EQ(OutputOptionQuantity("  что-то новое  "), "что-то новое");
    EXPECT_TRUE(messages.Entries.empty());
}

} // namespace
