#include "support/ExampleBuilder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "app/SchematicFile.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"
#include "support/RecordingMessages.h"
#include "support/ResultFiles.h"
#include "support/TempDir.h"

TBaseElement* ExampleBuilder::Place(const std::string& cls, const char* pin, TPoint at, int angle) {
    TBaseElement* e = CreateElementByName(sheet_, cls);
    if (angle) e->SetAngle(angle);
    const TControl* c = e->FindChild(pin);
    EXPECT_NE(c, nullptr) << cls << " has no pin " << pin;
    if (!c) return e;
    e->Left = at.x - (c->Left + c->Width / 2);
    e->Top = at.y - (c->Top + c->Height / 2);
    return e;
}

TBaseElement* ExampleBuilder::PlaceBox(const std::string& cls, int left, int top) {
    TBaseElement* e = CreateElementByName(sheet_, cls);
    e->Left = left;
    e->Top = top;
    return e;
}

void ExampleBuilder::Drag(TBaseElement* e, const char* pin, TPoint to) {
    TConnector* c = e->FindConnector(pin);
    ASSERT_NE(c, nullptr) << e->ClassName() << " has no pin " << pin;
    c->MouseDown(TMouseButton::Left, false, c->GetLink());
    c->MouseMove(to);
    c->MouseUp(TMouseButton::Left, false, to);
    EXPECT_TRUE(c->IsConnected());
}

void ExampleBuilder::Link(TBaseElement* from, TBaseElement* to, int input) {
    ASSERT_FALSE(from->FOutputs.empty());
    ASSERT_LT(std::size_t(input), to->FInputs.size());
    TInfoOutput* out = from->FOutputs[0];
    const TPoint target = to->FInputs[std::size_t(input)]->Centre();
    out->MouseDown(TMouseButton::Left, out->Centre());
    out->MouseMove(target);
    out->MouseUp(TMouseButton::Left, target);
    EXPECT_EQ(to->FInputs[std::size_t(input)]->GetSource(), out);
}

void ExampleBuilder::Set(TBaseElement* e, const char* param, double value, int unit) {
    ParamValue* v = e->FindParam(param);
    ASSERT_NE(v, nullptr);
    v->Value = value;
    if (unit >= 0) v->Unit = unit;
    // Values typed by hand are written into the file.
    e->ManualRefs = true;
}

std::string ExamplePath(const std::string& name) { return std::string(QUENTOR_SOURCE_DIR) + "/examples/" + name; }

std::string SaveExample(Schematic& sheet, const std::string& dir, const std::string& name) {
    const std::string path = dir + "/" + name;
    EXPECT_TRUE(SaveSchematic(sheet, path));
    if (std::getenv("QUENTOR_REGENERATE_EXAMPLES")) {
        EXPECT_TRUE(SaveSchematic(sheet, ExamplePath(name)));
    }
    return path;
}

std::string FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void ExpectGeneratorsReproduce(const std::vector<ExampleGenerator>& generators) {
    RecordingMessages messages;
    TempDir dir;
    for (const ExampleGenerator& example : generators) {
        Schematic sheet;
        example.Build(sheet);
        const std::string path = SaveExample(sheet, dir.Path().string(), example.File);
        EXPECT_EQ(FileBytes(path), FileBytes(ExamplePath(example.File)))
            << example.File << " differs from its generator (set QUENTOR_REGENERATE_EXAMPLES=1 to rewrite it)";
    }
    EXPECT_TRUE(messages.Texts().empty()) << messages.Texts().front();
}

std::vector<std::vector<double>> RunExampleConsumers(const std::string& name, int consumers) {
    Schematic sheet;
    TempDir dir;
    EXPECT_EQ(LoadSchematic(sheet, ExamplePath(name)), TLoadResult::Loaded) << name;
    TRunContext context(sheet, dir.Path().string());
    EXPECT_TRUE(PrepareRun(context)) << name;
    TRunOptions o;
    o.MaxIterations = 100;
    const TRunResult r = RunSimulation(context, o);
    EXPECT_EQ(r.Status, TRunResult::Outcome::Finished) << name << ": " << r.Message;
    std::vector<std::vector<double>> out;
    for (const auto& row : ReadGrafDat(dir.File("graf.dat"))) {
        std::vector<double> line{row.front()};
        line.insert(line.end(), row.end() - consumers, row.end());
        out.push_back(line);
    }
    return out;
}
