#include <gtest/gtest.h>

#include "blocks/Families.h"
#include "blocks/TControlledCurrent.h"
#include "blocks/TControlledVoltage.h"
#include "blocks/TVoltageSummator.h"
#include "forms/ElementVariants.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TInfoConnector.h"

namespace {

enum Family { None, Producer, Static, Dynamic, Consumer };

struct ClassRow {
    const char* name;
    const char* parent;
    Family family;
};

// Base class and family of every element class, as the element descriptions
// give them.
const ClassRow Classes[] = {
    {"TGain", "TStatic", Static},
    {"TSummingJunction", "TStatic", Static},
    {"TMultiplyingJunction", "TStatic", Static},
    {"TDivideningJunction", "TStatic", Static},
    {"TAbs", "TStatic", Static},
    {"TSInv", "TStatic", Static},
    {"TSVer", "TStatic", Static},
    {"TSSign", "TStatic", Static},
    {"TIntegrator", "TDynamic", Dynamic},
    {"TTransferFunction", "TDynamic", Dynamic},
    {"TStep", "TProducer", Producer},
    {"TSinusoid", "TProducer", Producer},
    {"TConst", "TProducer", Producer},
    {"TGPSP", "TProducer", Producer},
    {"TGRI", "TProducer", Producer},
    {"TTrap", "TProducer", Producer},
    {"TTreu", "TProducer", Producer},
    {"TRamp", "TProducer", Producer},
    {"TAngel", "TProducer", Producer},
    {"TSyncGPN", "TStatic", Static},
    {"TPilaP", "TProducer", Producer},
    {"TPilaO", "TProducer", Producer},
    {"TPlotter", "TConsumer", Consumer},
    {"TDisplay", "TConsumer", Consumer},
    {"TLimit", "TStatic", Static},
    {"TDeadBand", "TStatic", Static},
    {"TRelay", "TStatic", Static},
    {"TDeadLimit", "TStatic", Static},
    {"TGisteresis", "TStatic", Static},
    {"Tssin", "TStatic", Static},
    {"TScos", "TStatic", Static},
    {"TStan", "TStatic", Static},
    {"TSasin", "TStatic", Static},
    {"TSacos", "TStatic", Static},
    {"TSatan", "TStatic", Static},
    {"TSsinh", "TStatic", Static},
    {"TScosh", "TStatic", Static},
    {"TStanh", "TStatic", Static},
    {"TSexp", "TStatic", Static},
    {"TSln", "TStatic", Static},
    {"TSlg", "TStatic", Static},
    {"TSsqrt", "TStatic", Static},
    {"TAmplifier", "TBaseElement", None},
    {"TGround", "TBaseElement", None},
    {"TResistor", "TBaseElement", None},
    {"TCapacitor", "TBaseElement", None},
    {"TInductance", "TBaseElement", None},
    {"TDiode", "TBaseElement", None},
    {"TThyristor", "TBaseElement", None},
    {"TSwitch", "TBaseElement", None},
    {"TVoltageSource", "TBaseElement", None},
    {"TVoltageSin", "TBaseElement", None},
    {"TCurrentSource", "TBaseElement", None},
    {"TBattery", "TBaseElement", None},
    {"TSolarBattery", "TBaseElement", None},
    {"TOptoPair", "TBaseElement", None},
    {"TCable", "TBaseElement", None},
    {"TTvf", "TBaseElement", None},
    {"TAin", "TBaseElement", None},
    {"TTransistor", "TBaseElement", None},
    {"TBipolarNPN", "TTransistor", None},
    {"TMotor", "TProducer", Producer},
    {"TVarMotor", "TProducer", Producer},
    {"TNVarMotor", "TProducer", Producer},
    {"TIadd", "TProducer", Producer},
    {"TAtd", "TProducer", Producer},
    {"TAtdpet", "TProducer", Producer},
    {"TMechanical", "TBaseElement", None},
    {"TTransformer", "TBaseElement", None},
    {"TTransformator", "TBaseElement", None},
    {"TSelsinDat", "TConsumer", Consumer},
    {"TSelsinRes", "TProducer", Producer},
    {"TSelsinResTrans", "TConsumer", Consumer},
    {"TPovTr", "TConsumer", Consumer},
    {"TVoltageSummator", "TBaseElement", None},
    {"TAmper", "TProducer", Producer},
    {"TControlledVoltage", "TBaseElement", None},
    {"TControlledCurrent", "TBaseElement", None},
};

TEST(ClassTree, EveryClassHasItsParent) {
    for (const ClassRow& row : Classes) {
        const TElementClass* cls = FindElementClass(row.name);
        ASSERT_NE(cls, nullptr) << row.name;
        EXPECT_EQ(cls->Parent, row.parent) << row.name;
        EXPECT_NE(cls->Create, nullptr) << row.name;
    }
}

TEST(ClassTree, NoOtherConcreteClassIsRegistered) {
    std::vector<std::string> expected;
    for (const ClassRow& row : Classes)
        expected.push_back(row.name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(ConcreteClassNames(), expected);
}

// Each element joins exactly the registry of its family, and leaves it again.
TEST(ClassTree, ElementsJoinTheRegistryOfTheirFamily) {
    for (const ClassRow& row : Classes) {
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, row.name);
        EXPECT_EQ(sheet.Producers.Count(), row.family == Producer ? 1 : 0) << row.name;
        EXPECT_EQ(sheet.Statics.Count(), row.family == Static ? 1 : 0) << row.name;
        EXPECT_EQ(sheet.Dynamics.Count(), row.family == Dynamic ? 1 : 0) << row.name;
        EXPECT_EQ(sheet.Consumers.Count(), row.family == Consumer ? 1 : 0) << row.name;
        EXPECT_EQ(dynamic_cast<TProducer*>(e) != nullptr, row.family == Producer) << row.name;
        EXPECT_EQ(dynamic_cast<TStatic*>(e) != nullptr, row.family == Static) << row.name;
        EXPECT_EQ(dynamic_cast<TDynamic*>(e) != nullptr, row.family == Dynamic) << row.name;
        EXPECT_EQ(dynamic_cast<TConsumer*>(e) != nullptr, row.family == Consumer) << row.name;
        sheet.FreeElement(e);
        EXPECT_TRUE(sheet.Producers.Empty() && sheet.Statics.Empty() && sheet.Dynamics.Empty() &&
                    sheet.Consumers.Empty())
            << row.name;
    }
}

TEST(ClassTree, FamilyMembersFindTheirFamilyPins) {
    Schematic sheet;
    auto* amper = dynamic_cast<TProducer*>(CreateElementByName(sheet, "TAmper"));
    ASSERT_NE(amper, nullptr);
    ASSERT_NE(amper->Output, nullptr);
    EXPECT_EQ(amper->Output->Name, "Output");
    auto* povtr = dynamic_cast<TConsumer*>(CreateElementByName(sheet, "TPovTr"));
    ASSERT_NE(povtr, nullptr);
    ASSERT_NE(povtr->Input, nullptr);
    auto* gain = dynamic_cast<TStatic*>(CreateElementByName(sheet, "TGain"));
    ASSERT_NE(gain, nullptr);
    EXPECT_NE(gain->Input, nullptr);
    EXPECT_NE(gain->Output, nullptr);
}

// The mediators keep registries of their own, in creation order; deleting
// one keeps the order of the rest.
TEST(ClassTree, MediatorsJoinAndLeaveTheirOwnRegistries) {
    Schematic sheet;
    TBaseElement* v1 = CreateElementByName(sheet, "TVoltageSummator");
    TBaseElement* cv = CreateElementByName(sheet, "TControlledVoltage");
    TBaseElement* v2 = CreateElementByName(sheet, "TVoltageSummator");
    TBaseElement* cc = CreateElementByName(sheet, "TControlledCurrent");

    ASSERT_EQ(sheet.VoltageSummators.Count(), 2);
    EXPECT_EQ(sheet.VoltageSummators[0], dynamic_cast<TVoltageSummator*>(v1));
    EXPECT_EQ(sheet.VoltageSummators[1], dynamic_cast<TVoltageSummator*>(v2));
    ASSERT_EQ(sheet.ControlledVoltages.Count(), 1);
    EXPECT_EQ(sheet.ControlledVoltages[0], dynamic_cast<TControlledVoltage*>(cv));
    ASSERT_EQ(sheet.ControlledCurrents.Count(), 1);
    EXPECT_EQ(sheet.ControlledCurrents[0], dynamic_cast<TControlledCurrent*>(cc));
    // None of them is a block of a family.
    EXPECT_TRUE(sheet.Producers.Empty() && sheet.Consumers.Empty() && sheet.Statics.Empty());

    sheet.FreeElement(v1);
    ASSERT_EQ(sheet.VoltageSummators.Count(), 1);
    EXPECT_EQ(sheet.VoltageSummators[0], dynamic_cast<TVoltageSummator*>(v2));
    sheet.FreeElement(cv);
    sheet.FreeElement(cc);
    EXPECT_TRUE(sheet.ControlledVoltages.Empty());
    EXPECT_TRUE(sheet.ControlledCurrents.Empty());
}

} // namespace
