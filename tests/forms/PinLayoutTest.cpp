#include <gtest/gtest.h>

#include <map>

#include "model/ClassRegistry.h"
#include "model/FormDescription.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "model/TInfoConnector.h"

namespace {

enum Kind { E, I, O };

struct PinRow {
    Kind kind;
    std::string name;
    int left, top;
    friend bool operator==(const PinRow&, const PinRow&) = default;
};

std::ostream& operator<<(std::ostream& os, const PinRow& p) {
    return os << "EIO"[p.kind] << " " << p.name << " (" << p.left << ", " << p.top << ")";
}

struct ClassPins {
    const char* className;
    const char* componentName;
    std::vector<PinRow> pins;
};

// The pin layout table of every element class: pins in description order
// with their form positions, before the block margins. The family rows
// (producer, consumer, static, dynamic) and the transistor are the pins their
// members inherit; the N-P-N transistor declares none of its own.
const std::vector<ClassPins>& PinTable() {
    static const std::vector<ClassPins> table = {
        {"TAbs", "Abs", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TAin",
         "Ain",
         {{E, "U1", 0, 17},
          {E, "U2", 0, 64},
          {E, "Connector_A", 104, 8},
          {E, "Connector_B", 104, 40},
          {E, "Connector_C", 104, 73}}},
        {"TAmper",
         "Amper",
         {{O, "Output", 22, 21}, {E, "Connector1", 7, 3}, {E, "Connector2", 7, 44}}},
        {"TAmplifier",
         "Amplifier",
         {{E, "Uout", 86, 23}, {E, "Uin", 4, 23}, {E, "GndIn", 4, 47}, {E, "GndOut", 86, 47}}},
        {"TAngel", "Angel", {{O, "Output", 38, 6}}},
        {"TAtd",
         "Atd",
         {{O, "Output", 80, 17},
          {E, "Connector_A", 4, 12},
          {E, "Connector_B", 4, 20},
          {E, "Connector_C", 4, 28}}},
        {"TAtdpet",
         "Atdpet",
         {{O, "Output", 56, 28},
          {E, "Connector_A", 16, 0},
          {E, "Connector_B", 24, 0},
          {E, "Connector_C", 32, 0},
          {E, "Connector_rA", 16, 64},
          {E, "Connector_rB", 24, 64},
          {E, "Connector_rC", 32, 64}}},
        {"TBattery", "Battery", {{E, "Plus", 15, 0}, {E, "Minus", 15, 68}}},
        {"TCable", "Cable", {{E, "Connector1", 0, 4}, {E, "Connector2", 46, 4}}},
        {"TCapacitor", "Capacitor", {{E, "Connector1", 0, 12}, {E, "Connector2", 38, 12}}},
        {"TConst", "Const", {{O, "Output", 25, -7}}},
        {"TConsumer", "Consumer", {{I, "Input", 0, 12}}},
        {"TControlledCurrent",
         "ControlledCurrent",
         {{E, "Plus", 19, 0}, {E, "Minus", 19, 46}, {I, "Input", 0, 20}}},
        {"TControlledVoltage",
         "ControlledVoltage",
         {{E, "Plus", 19, 0}, {E, "Minus", 19, 46}, {I, "Input", 0, 20}}},
        {"TCurrentSource", "CurrentSource", {{E, "Plus", 12, 0}, {E, "Minus", 12, 46}}},
        {"TDeadBand", "DeadBand", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TDeadLimit", "DeadLimit", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TDiode", "Diode", {{E, "Anode", 0, 8}, {E, "Cathode", 61, 8}}},
        {"TDisplay", "Display", {{I, "Input", 0, -4}}},
        {"TDivideningJunction",
         "DivideningJunction",
         {{O, "Output", 40, 8}, {I, "Input", 0, 0}, {I, "Input2", 0, 16}}},
        {"TDynamic", "Dynamic", {{O, "Output", 64, 20}, {I, "Input", 0, 20}}},
        {"TGain", "Gain", {{O, "Output", 35, -7}, {I, "Input", 0, -7}}},
        {"TGisteresis", "Gisteresis", {{O, "Output", 79, 41}, {I, "Input", 30, 41}}},
        {"TGPSP", "GPSP", {{O, "Output", 84, 23}}},
        {"TGRI", "GRI", {{O, "Output", 38, 6}}},
        {"TGround", "Ground", {{E, "Connector", 16, 0}}},
        {"TIadd",
         "Iadd",
         {{O, "Output", 77, 18},
          {E, "Connector1", 0, 9},
          {E, "Connector2", 0, 16},
          {E, "Connector3", 0, 23},
          {E, "Connector4", 0, 30}}},
        {"TInductance", "Inductance", {{E, "Connector1", 0, 4}, {E, "Connector2", 76, 4}}},
        {"TIntegrator", "Integrator", {{O, "Output", 38, 6}, {I, "Input", 0, 6}}},
        {"TLimit", "Limit", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TMechanical",
         "Mechanical",
         {{E, "Connector1", 0, 1},
          {E, "Connector2", 0, 66},
          {E, "Connector3", 98, 1},
          {E, "Connector4", 98, 66}}},
        {"TMotor",
         "Motor",
         {{O, "Output", 48, 33}, {E, "Connector1", 18, 0}, {E, "Connector2", 18, 68}}},
        {"TMultiplyingJunction",
         "MultiplyingJunction",
         {{O, "Output", 40, 8}, {I, "Input", 0, 0}, {I, "Input2", 0, 16}}},
        {"TNVarMotor",
         "NVarMotor",
         {{O, "Output", 59, 30},
          {E, "Connector1", 31, 4},
          {E, "Connector2", 31, 60},
          {E, "Connector3", 5, 4},
          {E, "Connector4", 5, 60}}},
        {"TOptoPair",
         "OptoPair",
         {{E, "InAnode", 19, 0},
          {E, "OutCatode", 72, 0},
          {E, "InCatode", 19, 61},
          {E, "OutAnode", 72, 61}}},
        {"TPilaO", "PilaO", {{O, "Output", 38, 6}}},
        {"TPilaP", "PilaP", {{O, "Output", 38, 6}}},
        {"TPlotter", "Plotter", {{I, "Input", 0, 6}}},
        {"TPovTr",
         "PovTr",
         {{I, "Input", 15, 86},
          {E, "Connector1", 46, 0},
          {E, "Connector2", 80, 4},
          {E, "Connector3", 85, 42},
          {E, "Connector4", 79, 76},
          {E, "Connector5", 46, 86},
          {E, "Connector6", 15, 71},
          {E, "Connector7", 8, 42},
          {E, "Connector8", 14, 9}}},
        {"TProducer", "Producer", {{O, "Output", 40, 12}}},
        {"TRamp", "Ramp", {{O, "Output", 38, 6}}},
        {"TRelay", "Relay", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TResistor", "Resistor", {{E, "Connector1", 0, 4}, {E, "Connector2", 60, 4}}},
        {"TSacos", "Sacos", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSasin", "Sasin", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSatan", "Satan", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TScos", "Scos", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TScosh", "Scosh", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSelsinDat",
         "SelsinDat",
         {{I, "Input", 17, 44},
          {E, "Connector_A1", 44, 6},
          {E, "Connector_A2", 51, 11},
          {E, "Connector_a", 40, 91},
          {E, "Connector_b", 48, 83},
          {E, "Connector_c", 57, 75}}},
        {"TSelsinRes",
         "SelsinRes",
         {{O, "Output", 88, 52},
          {E, "Connector_a", 47, 87},
          {E, "Connector_b", 55, 93},
          {E, "Connector_c", 62, 100},
          {E, "Connector_A1", 53, 19},
          {E, "Connector_A2", 58, 12}}},
        {"TSelsinResTrans",
         "SelsinResTrans",
         {{I, "Input", 9, 45},
          {E, "Connector_a", 33, 79},
          {E, "Connector_b", 42, 86},
          {E, "Connector_c", 51, 91},
          {E, "Connector_A1", 37, 11},
          {E, "Connector_A2", 47, 5}}},
        {"TSexp", "Sexp", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSinusoid", "Sinusoid", {{O, "Output", 38, 6}}},
        {"TSInv", "SInv", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSlg", "Slg", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSln", "Sln", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSolarBattery", "SolarBattery", {{E, "Plus", 37, 0}, {E, "Minus", 37, 106}}},
        {"TSSign", "SSign", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"Tssin", "ssin", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSsinh", "Ssinh", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSsqrt", "Ssqrt", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TStan", "Stan", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TStanh", "Stanh", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TStatic", "Static", {{O, "Output", 64, 20}, {I, "Input", 0, 20}}},
        {"TStep", "Step", {{O, "Output", 38, 6}}},
        {"TSummingJunction",
         "SummingJunction",
         {{O, "Output", 40, 8}, {I, "Input", 0, 0}, {I, "Input2", 0, 16}}},
        {"TSVer", "SVer", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TSwitch", "Switch", {{E, "Anode", 21, 6}, {E, "Cathode", 21, 34}, {E, "Control", 6, 20}}},
        {"TSyncGPN", "SyncGPN", {{O, "Output", 48, 6}, {I, "Input", 0, 6}}},
        {"TThyristor",
         "Thyristor",
         {{E, "Anode", 2, 9}, {E, "Cathode", 63, 9}, {E, "Control", 56, 35}}},
        {"TTransferFunction", "TransferFunction", {{O, "Output", 50, -1}, {I, "Input", 0, -1}}},
        {"TTransformator",
         "Transformator",
         {{E, "z1", 28, 44}, {E, "z2", 69, 44}, {E, "in", 29, 5}, {E, "out", 68, 4}}},
        {"TTransformer",
         "Transformer",
         {{E, "z1", 125, 101}, {E, "z2", 166, 100}, {E, "in", 125, 60}, {E, "out", 166, 60}}},
        {"TTransistor",
         "Transistor",
         {{E, "Base", 0, 24}, {E, "Collector", 36, 0}, {E, "Emitter", 36, 48}}},
        {"TTrap", "Trap", {{O, "Output", 38, 6}}},
        {"TTreu", "Treu", {{O, "Output", 38, 6}}},
        {"TTvf",
         "Tvf",
         {{E, "Connector1", 81, 2},
          {E, "Connector1_", 81, 14},
          {E, "Connector2", 81, 25},
          {E, "Connector2_", 81, 36},
          {E, "Connector3", 81, 48},
          {E, "Connector3_", 81, 59},
          {E, "Connector4", 81, 70},
          {E, "Connector4_", 81, 81},
          {E, "Connector5", 81, 92},
          {E, "Connector5_", 81, 104},
          {E, "Connector6", 81, 115},
          {E, "Connector6_", 81, 127},
          {E, "U1", 0, 36},
          {E, "U2", 0, 81}}},
        {"TVarMotor",
         "VarMotor",
         {{O, "Output", 53, 26},
          {E, "Connector1", 26, 0},
          {E, "Connector2", 26, 56},
          {E, "Connector3", 0, 0},
          {E, "Connector4", 0, 56}}},
        {"TVoltageSin", "VoltageSin", {{E, "Minus", 27, 52}, {E, "Plus", 27, 4}}},
        {"TVoltageSource", "VoltageSource", {{E, "Plus", 12, 0}, {E, "Minus", 12, 46}}},
        {"TVoltageSummator",
         "VoltageSummator",
         {{E, "Plus", 8, 2}, {E, "Minus", 8, 42}, {O, "InfoOutput1", 19, 17}}},
    };
    return table;
}

const ClassPins* Row(const std::string& className) {
    for (const ClassPins& row : PinTable())
        if (row.className == className) return &row;
    return nullptr;
}

Kind KindOf(TPinKind k) {
    return k == TPinKind::Electrical ? E : k == TPinKind::Input ? I : O;
}

// The pins the forms of a class and its ancestors declare, merged as forms
// are applied: a name declared again only moves the pin.
std::vector<PinRow> FormPins(const std::string& className) {
    std::vector<PinRow> pins;
    for (const std::string& name : ClassChain(className)) {
        const TFormDescription* form = FindForm(name);
        if (!form) continue;
        for (const TFormPin& p : form->Pins) {
            auto same = std::find_if(pins.begin(), pins.end(),
                                     [&](const PinRow& q) { return q.name == p.Name; });
            if (same != pins.end()) {
                same->left = p.Left;
                same->top = p.Top;
            } else {
                pins.push_back({KindOf(p.Kind), p.Name, p.Left, p.Top});
            }
        }
    }
    return pins;
}

// The pins of a created element in child order, as they stand on it.
std::vector<PinRow> ElementPins(const TBaseElement& e) {
    std::vector<PinRow> pins;
    for (const auto& c : e.Children()) {
        if (c.get() == e.Image()) continue;
        const Kind k = dynamic_cast<const TConnector*>(c.get())   ? E
                       : dynamic_cast<const TInfoInput*>(c.get()) ? I
                                                                  : O;
        pins.push_back({k, c->Name, c->Left, c->Top});
    }
    return pins;
}

// The table positions moved by the block margins: blocks without electrical
// pins (and not with several inputs and several outputs) get their pins 13
// pixels down, and the outputs of blocks without inputs 10 pixels right.
std::vector<PinRow> WithBlockMargins(std::vector<PinRow> pins) {
    int e = 0, in = 0, out = 0;
    for (const PinRow& p : pins)
        (p.kind == E ? e : p.kind == I ? in : out)++;
    if (e > 0 || (in == 0 && out == 0) || (in > 1 && out > 1)) return pins;
    for (PinRow& p : pins) {
        p.top += 13;
        if (p.kind == O && in == 0) p.left += 10;
    }
    return pins;
}

const char* const Families[] = {"TProducer", "TConsumer", "TStatic", "TDynamic"};

TEST(PinLayout, FormsDeclareThePinsOfTheTableInOrder) {
    for (const ClassPins& row : PinTable())
        EXPECT_EQ(FormPins(row.className), row.pins) << row.className;
    EXPECT_EQ(FormPins("TBipolarNPN"), Row("TTransistor")->pins);
}

TEST(PinLayout, CreatedElementsCarryThePinsOfTheTable) {
    for (const ClassPins& row : PinTable()) {
        if (std::find(std::begin(Families), std::end(Families), std::string(row.className)) !=
            std::end(Families))
            continue;
        Schematic sheet;
        TBaseElement* e = CreateElementByName(sheet, row.className);
        EXPECT_EQ(e->Name(), row.componentName);
        auto expected = WithBlockMargins(row.pins);
        // Blocks that show a value lay out their label once created: the
        // outline and pins move 12 pixels down into the margin.
        for (const char* labelled : {"TGain", "TConst", "TTransferFunction"})
            if (std::string(row.className) == labelled)
                for (auto& pin : expected) pin.top += 12;
        EXPECT_EQ(ElementPins(*e), expected) << row.className;
    }
    Schematic sheet;
    TBaseElement* npn = CreateElementByName(sheet, "TBipolarNPN");
    EXPECT_EQ(npn->Name(), "BipolarNPN");
    EXPECT_EQ(ElementPins(*npn), Row("TTransistor")->pins);
}

TEST(PinLayout, EveryPaletteClassHasARowOrInheritsOne) {
    for (const TElementClass* cls : AllElementClasses()) {
        if (!cls->Create || cls->Name.rfind("TTest", 0) == 0) continue;
        EXPECT_TRUE(Row(cls->Name) || cls->Name == "TBipolarNPN") << cls->Name;
    }
}

std::vector<std::string> Names(const auto& pins) {
    std::vector<std::string> names;
    for (const auto* p : pins)
        names.push_back(p->Name);
    return names;
}

// Pin lists fix the pin lines of the schematic file and the output numbers.
TEST(PinLayout, AmmeterListsItsCircuitPinsThenItsOutput) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TAmper");
    EXPECT_EQ(Names(e->FConnectors), (std::vector<std::string>{"Connector1", "Connector2"}));
    EXPECT_EQ(Names(e->FOutputs), (std::vector<std::string>{"Output"}));
    EXPECT_TRUE(e->FInputs.empty());
    // The family output moved to the ammeter's own place.
    EXPECT_EQ(e->FOutputs[0]->Left, 22);
    EXPECT_EQ(e->FOutputs[0]->Top, 21);
}

TEST(PinLayout, ControlledVoltageListsPlusMinusThenItsInput) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TControlledVoltage");
    EXPECT_EQ(Names(e->FConnectors), (std::vector<std::string>{"Plus", "Minus"}));
    EXPECT_EQ(Names(e->FInputs), (std::vector<std::string>{"Input"}));
}

TEST(PinLayout, VoltageFrequencyConverterListsChannelPairsThenControl) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TTvf");
    std::vector<std::string> expected;
    for (int n = 1; n <= 6; ++n) {
        expected.push_back("Connector" + std::to_string(n));
        expected.push_back("Connector" + std::to_string(n) + "_");
    }
    expected.push_back("U1");
    expected.push_back("U2");
    EXPECT_EQ(Names(e->FConnectors), expected);
    // The twelve outputs run down the right side, the control pins on the left.
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(e->FConnectors[std::size_t(i)]->Left, 81);
    for (int i = 1; i < 12; ++i)
        EXPECT_GT(e->FConnectors[std::size_t(i)]->Top, e->FConnectors[std::size_t(i - 1)]->Top);
    EXPECT_EQ(e->FConnectors[12]->Left, 0);
    EXPECT_LT(e->FConnectors[12]->Top, e->FConnectors[13]->Top);
}

TEST(PinLayout, RotaryTransformerListsItsInputThenEightWindingEnds) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TPovTr");
    ASSERT_EQ(e->Children().size(), 10u);
    EXPECT_EQ(e->Children()[1]->Name, "Input");
    std::vector<std::string> expected;
    for (int n = 1; n <= 8; ++n)
        expected.push_back("Connector" + std::to_string(n));
    EXPECT_EQ(Names(e->FConnectors), expected);
}

TEST(PinLayout, GroundPinCarriesTheReferenceNet) {
    Schematic sheet;
    TBaseElement* e = CreateElementByName(sheet, "TGround");
    ASSERT_EQ(e->FConnectors.size(), 1u);
    EXPECT_EQ(e->FConnectors[0]->FNet, "GND");
    TBaseElement* r = CreateElementByName(sheet, "TResistor");
    for (const TConnector* c : r->FConnectors)
        EXPECT_EQ(c->FNet, "");
}

} // namespace
