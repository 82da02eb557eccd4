#include "blocks/ExampleSchematics.h"

#include <gtest/gtest.h>

#include "Simulation/SimModel.h"
#include "blocks/TTransferFunction.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "support/WireDrawing.h"

namespace {

TConnector* Pin(TBaseElement* e, const char* name) {
    TConnector* c = e->FindConnector(name);
    EXPECT_NE(c, nullptr) << e->ClassName() << "." << name;
    return c;
}

bool SameNode(const TConnector* a, const TConnector* b) {
    return a->IsConnected() && b->IsConnected() && a->FLink->FNode == b->FLink->FNode;
}

// A wire dragged from pin a and released on pin b.
void Wire(TConnector* a, TConnector* b) {
    DragWire(a, b->GetLink());
    EXPECT_TRUE(SameNode(a, b)) << a->Parent()->Name() << "." << a->Name << " to "
                                << b->Parent()->Name() << "." << b->Name;
}

// A wire dragged straight up or down from the pin onto the horizontal wire
// at height y, which must belong to the node of `onNode`.
void Tap(TConnector* pin, int y, TConnector* onNode) {
    DragWire(pin, {pin->GetXLink(), y});
    EXPECT_TRUE(SameNode(pin, onNode)) << pin->Parent()->Name() << "." << pin->Name;
}

// A ground symbol 30 pixels below the pin, wired to it.
void Ground(Schematic& sheet, TConnector* pin) {
    TBaseElement* ground =
        PlaceElement(sheet, "TGround", pin->GetXLink() - 20, pin->GetYLink() + 26);
    Wire(pin, Pin(ground, "Connector"));
}

void Link(TBaseElement* from, TBaseElement* to) {
    to->FInputs[0]->SetSource(from->FOutputs[0]);
}

// A value in base units, shown in the unit of index `unit` (-1 keeps the default).
void Set(TBaseElement* e, const char* param, double value, int unit = -1) {
    ParamValue* v = e->FindParam(param);
    ASSERT_NE(v, nullptr);
    v->Value = value;
    if (unit >= 0) v->Unit = unit;
}

constexpr int Ohms = 0;

void Run(Schematic& sheet, double T, double h, double GS) {
    TSimModel& m = sheet.SimModel();
    m.T = T;
    m.h = h;
    m.GS = GS;
}

void StepLag(Schematic& sheet) {
    TBaseElement* step = PlaceElement(sheet, "TStep", 40, 40);
    TBaseElement* lag = PlaceElement(sheet, "TTransferFunction", 140, 47);
    TBaseElement* plot = PlaceElement(sheet, "TPlotter", 260, 40);
    Link(step, lag);
    Link(lag, plot);
    Run(sheet, 5, 1e-4, 0.05);
}

void IntegratorHold(Schematic& sheet) {
    TBaseElement* integrator = PlaceElement(sheet, "TIntegrator", 140, 40);
    Set(integrator, "IC", 3);
    Link(integrator, PlaceElement(sheet, "TPlotter", 260, 40));
    Run(sheet, 1, 1e-4, 0.01);
}

void ControlledVoltage(Schematic& sheet) {
    TBaseElement* constant = PlaceElement(sheet, "TConst", 40, 100);
    Set(constant, "K", 5);
    TBaseElement* source = PlaceElement(sheet, "TControlledVoltage", 120, 86);
    TBaseElement* sensor = PlaceElement(sheet, "TVoltageSummator", 231, 84);
    Link(constant, source);
    Wire(Pin(source, "Plus"), Pin(sensor, "Plus"));
    Ground(sheet, Pin(source, "Minus"));
    Ground(sheet, Pin(sensor, "Minus"));
    Link(sensor, PlaceElement(sheet, "TPlotter", 300, 82));
    Run(sheet, 0.1, 1e-4, 0.001);
}

void ControlledCurrent(Schematic& sheet) {
    TBaseElement* constant = PlaceElement(sheet, "TConst", 40, 100);
    Set(constant, "K", 2);
    TBaseElement* source = PlaceElement(sheet, "TControlledCurrent", 120, 86);
    TBaseElement* load = PlaceElement(sheet, "TResistor", 200, 106);
    load->SetAngle(90);
    Set(load, "R", 3, Ohms);
    TBaseElement* sensor = PlaceElement(sheet, "TVoltageSummator", 280, 84);
    Link(constant, source);
    Wire(Pin(source, "Plus"), Pin(sensor, "Plus"));
    Tap(Pin(load, "Connector1"), Pin(source, "Plus")->GetYLink(), Pin(source, "Plus"));
    Ground(sheet, Pin(source, "Minus"));
    Ground(sheet, Pin(load, "Connector2"));
    Ground(sheet, Pin(sensor, "Minus"));
    Link(sensor, PlaceElement(sheet, "TPlotter", 350, 82));
    Run(sheet, 0.1, 1e-4, 0.001);
}

void VoltageSensor(Schematic& sheet) {
    TBaseElement* source = PlaceElement(sheet, "TVoltageSource", 120, 86);
    Set(source, "E", 10);
    TBaseElement* swapped = PlaceElement(sheet, "TVoltageSummator", 210, 110);
    swapped->SetYFlip(true);
    TBaseElement* sensor = PlaceElement(sheet, "TVoltageSummator", 300, 84);
    Wire(Pin(source, "Plus"), Pin(sensor, "Plus"));
    Tap(Pin(swapped, "Minus"), Pin(source, "Plus")->GetYLink(), Pin(source, "Plus"));
    Ground(sheet, Pin(source, "Minus"));
    Ground(sheet, Pin(sensor, "Minus"));
    Ground(sheet, Pin(swapped, "Plus"));
    Link(sensor, PlaceElement(sheet, "TPlotter", 370, 82));
    Link(swapped, PlaceElement(sheet, "TPlotter", 370, 190));
    Run(sheet, 0.1, 1e-4, 0.001);
}

void SineSource(Schematic& sheet) {
    TBaseElement* source = PlaceElement(sheet, "TVoltageSin", 120, 82);
    TBaseElement* sensor = PlaceElement(sheet, "TVoltageSummator", 300, 84);
    Wire(Pin(source, "Plus"), Pin(sensor, "Plus"));
    Ground(sheet, Pin(source, "Minus"));
    Ground(sheet, Pin(sensor, "Minus"));
    Link(sensor, PlaceElement(sheet, "TPlotter", 370, 82));
    Run(sheet, 0.04, 1e-5, 0.0005);
}

// The error is formed in the error circuit: the sensor across the set-point
// EMF and a controlled EMF equal to the measured current reads r − i.
void PiCurrentLoop(Schematic& sheet) {
    TBaseElement* setPoint = PlaceElement(sheet, "TVoltageSource", 60, 200);
    Set(setPoint, "E", 2);
    TBaseElement* error = PlaceElement(sheet, "TVoltageSummator", 160, 198);
    TBaseElement* feedback = PlaceElement(sheet, "TControlledVoltage", 149, 280);
    Wire(Pin(setPoint, "Plus"), Pin(error, "Plus"));
    Wire(Pin(error, "Minus"), Pin(feedback, "Plus"));
    Ground(sheet, Pin(setPoint, "Minus"));
    Ground(sheet, Pin(feedback, "Minus"));

    auto* pi = static_cast<TTransferFunction*>(PlaceElement(sheet, "TTransferFunction", 240, 203));
    EXPECT_TRUE(pi->SetCoefficients(1, {{1, 10}, {1, 0}, {}}));
    Link(error, pi);

    TBaseElement* drive = PlaceElement(sheet, "TControlledVoltage", 360, 195);
    TBaseElement* ammeter = PlaceElement(sheet, "TAmper", 460, 192);
    TBaseElement* resistor = PlaceElement(sheet, "TResistor", 462, 270);
    resistor->SetAngle(90);
    Set(resistor, "R", 1, Ohms);
    TBaseElement* inductor = PlaceElement(sheet, "TInductance", 462, 360);
    inductor->SetAngle(90);
    Set(inductor, "L", 0.1);
    Link(pi, drive);
    Wire(Pin(drive, "Plus"), Pin(ammeter, "Connector1"));
    Wire(Pin(ammeter, "Connector2"), Pin(resistor, "Connector1"));
    Wire(Pin(resistor, "Connector2"), Pin(inductor, "Connector1"));
    Ground(sheet, Pin(drive, "Minus"));
    Ground(sheet, Pin(inductor, "Connector2"));
    Link(ammeter, feedback);

    Link(ammeter, PlaceElement(sheet, "TPlotter", 560, 194));
    Link(pi, PlaceElement(sheet, "TPlotter", 360, 110));
    Run(sheet, 1, 1e-5, 0.01);
}

} // namespace

const std::vector<ExampleSchematic>& BlockExamples() {
    static const std::vector<ExampleSchematic> examples = {
        {"step_lag.dvn", &StepLag},
        {"integrator_hold.dvn", &IntegratorHold},
        {"controlled_voltage.dvn", &ControlledVoltage},
        {"controlled_current.dvn", &ControlledCurrent},
        {"voltage_sensor.dvn", &VoltageSensor},
        {"sine_source.dvn", &SineSource},
        {"pi_current_loop.dvn", &PiCurrentLoop},
    };
    return examples;
}

std::string ExamplePath(const std::string& file) {
    return std::string(QUENTOR_SOURCE_DIR) + "/examples/" + file;
}
