#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <string>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/machines/TMotor.h"
#include "model/Schematic.h"
#include "params/IniFile.h"
#include "support/CircuitBuilder.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"
#include "support/TempDir.h"

namespace fs = std::filesystem;

namespace {

// Torque constants kM of the catalogue (mNm/A), which the shipped rows do
// not hold: the model's kΦ derived from the no-load point must meet them.
const std::map<std::string, double> CatalogueTorqueConstant = {
    {"1331T006SR", 5.35}, {"1331T012SR", 11.4}, {"1331T024SR", 21.8}, {"0816K003SR", 2.11},
    {"0816K006SR", 4.12}, {"0816K009SR", 6.19}, {"0816K012SR", 8.8},
};

TEST(MotorDatabase, EveryMarkComputesItsModelAndStartsToItsNoLoadSpeed) {
    TempDir dir;
    ScopedEnv env("QUENTOR_DB_DIR", dir.Path().string());
    const fs::path shipped = fs::path(QUENTOR_SOURCE_DIR) / "data" / "Motors.edb";
    fs::copy_file(shipped, dir.Path() / "Motors.edb");
    RecordingMessages messages;
    const TIniFile db(shipped.string());
    ASSERT_GE(db.Sections().size(), 4u);
    for (const std::string& type : db.Sections()) {
        Schematic sheet;
        CircuitBuilder b(sheet);
        auto* motor = static_cast<TMotor*>(b.Add("TMotor", 300, 100));
        ASSERT_TRUE(motor->LoadDeviceType(type)) << type;
        ASSERT_TRUE(motor->CalcModelParams()) << type;
        motor->ResetState();
        ASSERT_TRUE(CatalogueTorqueConstant.count(type)) << type;
        EXPECT_NEAR(motor->KPhi, CatalogueTorqueConstant.at(type) * 1e-3,
                    0.01 * CatalogueTorqueConstant.at(type) * 1e-3)
            << type;

        auto* source = b.Add("TVoltageSource", 100, 100);
        ExampleBuilder::Set(source, "E", motor->ParamOf("Uan"));
        auto* g = b.Add("TGround", 100, 300);
        b.Wire(CircuitBuilder::Pin(source, "Plus"), CircuitBuilder::Pin(motor, "Connector1"));
        b.Wire(CircuitBuilder::Pin(source, "Minus"), CircuitBuilder::Pin(g, "Connector"));
        b.WireToNode(CircuitBuilder::Pin(motor, "Connector2"), CircuitBuilder::Pin(g, "Connector"));
        TRunSettings& m = sheet.RunSettings;
        m.T = 0.1; // the mechanical time constants are about 7 ms
        m.h = 1e-5;
        m.GS = 0.01;
        TRunContext context(sheet, "");
        ASSERT_TRUE(PrepareRun(context)) << type;
        TRunOptions o;
        o.MaxIterations = 100;
        ASSERT_EQ(RunSimulation(context, o).Status, TRunResult::Outcome::Finished) << type;
        const double rpm = motor->Arm.w * 60 / (2 * 3.141592653589793);
        const double n0 = motor->ParamOf("Nn");
        EXPECT_NEAR(rpm, n0, 0.05 * n0) << type;
    }
    EXPECT_TRUE(messages.Entries.empty()) << messages.Entries.front().Text;
}

} // namespace
