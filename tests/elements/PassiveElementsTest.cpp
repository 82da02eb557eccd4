#include <gtest/gtest.h>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "elements/electrical/TCapacitor.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "support/CircuitBuilder.h"
#include "support/RecordingMessages.h"

namespace {

struct Row {
    const char* cls;
    const char* name;
    const char* description;
    double value;
    int unit;
    const char* unitText;
};

// The parameter rows as the element catalogue lists them.
const Row rows[] = {
    {"TResistor", "R", "Сопротивление", 1000, 1, "кОм"},
    {"TCapacitor", "C", "Ёмкость", 1e-6, 2, "мкФ"},
    {"TInductance", "L", "Индуктивность", 0.001, 1, "мГн"},
    {"TVoltageSource", "E", "Величина ЭДС", 12, 2, "В"},
    {"TVoltageSource", "Rвн", "Внутреннее сопротивление", 0.01, 0, "Ом"},
    {"TCurrentSource", "I", "Величина тока", 1, 2, "А"},
    {"TBattery", "E", "ЭДС", 12, 2, "В"},
    {"TBattery", "Rвн", "Внутреннее сопротивление", 1, 0, "Ом"},
    {"TBattery", "Kраз", "Коэффициент разряда", 1, 0, nullptr},
    {"TBattery", "Kзар", "Коэффициент заряда", 1, 0, nullptr},
    {"TSolarBattery", "I", "Величина тока", 1, 2, "А"},
    {"TSolarBattery", "Rвн", "Внутреннее сопротивление", 1, 0, "Ом"},
    {"TAmper", "r", "Сопротивление", 0.01, 0, "Ом"},
};

TEST(PassiveElements, ParameterRowsAndDefaults) {
    Schematic sheet;
    for (const Row& r : rows) {
        TBaseElement* e = CreateElementByName(sheet, r.cls);
        const ParamValue* v = e->FindParam(r.name);
        ASSERT_NE(v, nullptr) << r.cls << " " << r.name;
        EXPECT_STREQ(v->Def->Description, r.description);
        EXPECT_DOUBLE_EQ(v->Value, r.value) << r.cls << " " << r.name;
        EXPECT_EQ(v->Unit, r.unit);
        if (r.unitText) EXPECT_STREQ(v->Def->Units[v->Unit].Text, r.unitText);
        else EXPECT_EQ(v->Def->Units, nullptr);
    }
    EXPECT_STREQ(CreateElementByName(sheet, "TAmper")->DbSection, "Amper");
    EXPECT_TRUE(CreateElementByName(sheet, "TGround")->ParamValues.empty());
    EXPECT_EQ(CreateElementByName(sheet, "TGround")->GetCircuitModel(), nullptr);
}

TEST(PassiveElements, ValuesThatWouldDivideByZeroAreRefused) {
    const struct {
        const char* cls;
        const char* name;
    } guarded[] = {{"TResistor", "R"}, {"TCapacitor", "C"}, {"TInductance", "L"}, {"TVoltageSource", "Rвн"},
                   {"TBattery", "Rвн"}, {"TSolarBattery", "Rвн"}, {"TAmper", "r"}};
    for (const auto& g : guarded)
        for (double bad : {0.0, -1.0}) {
            RecordingMessages messages;
            Schematic sheet;
            TBaseElement* e = CreateElementByName(sheet, g.cls);
            e->FindParam(g.name)->Value = bad;
            TRunContext context(sheet, "");
            EXPECT_FALSE(PrepareRun(context)) << g.cls;
            ASSERT_EQ(messages.Entries.size(), 1u);
            EXPECT_EQ(messages.Entries[0].Text, "Компонент " + e->Name() + " №0: параметр " + g.name +
                                                    " должен быть больше нуля.");
        }
    // A current source of any sign is fine.
    RecordingMessages messages;
    Schematic sheet;
    CreateElementByName(sheet, "TCurrentSource")->FindParam("I")->Value = -2;
    TRunContext context(sheet, "");
    EXPECT_TRUE(PrepareRun(context));
}

TEST(PassiveElements, CapacitorWithAnOpenPinContributesNothing) {
    RecordingMessages messages;
    Schematic sheet;
    CircuitBuilder b(sheet);
    auto* vs = b.Add("TVoltageSource", 100, 100);
    auto* g = b.Add("TGround", 100, 250);
    auto* r = b.Add("TResistor", 200, 60);
    auto* c = static_cast<TCapacitor*>(b.Add("TCapacitor", 300, 100));
    b.Wire(CircuitBuilder::Pin(vs, "Minus"), CircuitBuilder::Pin(g, "Connector"));
    b.Wire(CircuitBuilder::Pin(vs, "Plus"), CircuitBuilder::Pin(r, "Connector1"));
    b.WireToNode(CircuitBuilder::Pin(r, "Connector2"), CircuitBuilder::Pin(g, "Connector"));
    b.WireToNode(CircuitBuilder::Pin(c, "Connector1"), CircuitBuilder::Pin(vs, "Plus"));
    sheet.RunSettings.T = 1e-3;
    TRunContext context(sheet, "");
    ASSERT_TRUE(PrepareRun(context));
    TRunOptions o;
    RunSimulation(context, o);
    EXPECT_EQ(c->FSource, 0.0);
    EXPECT_EQ(c->FLastTime, -1.0);
    EXPECT_NEAR(CircuitBuilder::Pin(vs, "Plus")->GetPhi(), 12.0 * 1000 / 1000.01, 1e-9);
}

} // namespace
