#include "blocks/ExampleSchematics.h"

#include <gtest/gtest.h>

#include "Simulation/SimModel.h"
#include "blocks/TTransferFunction.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "model/TENode.h"
#include "model/TElectricLine.h"
#include "model/TInfoConnector.h"
#include "support/ExampleBuilder.h"

namespace {

bool SameNode(TBaseElement* a, const char* pinA, TBaseElement* b, const char* pinB) {
    const TConnector* x = a->FindConnector(pinA);
    const TConnector* y = b->FindConnector(pinB);
    return x && y && x->IsConnected() && y->IsConnected() && x->FLink->FNode == y->FLink->FNode;
}

// A wire dragged from one pin and released on another.
void Wire(ExampleBuilder& b, TBaseElement* from, const char* pin, TBaseElement* to,
          const char* toPin) {
    b.Drag(from, pin, to->FindConnector(toPin)->GetLink());
    EXPECT_TRUE(SameNode(from, pin, to, toPin))
        << from->Name() << "." << pin << " to " << to->Name() << "." << toPin;
}

// A wire dragged straight up from the pin onto the horizontal wire at
// height y, which must belong to the node of `on`.
void Tap(ExampleBuilder& b, TBaseElement* e, const char* pin, int y, TBaseElement* on,
         const char* onPin) {
    b.Drag(e, pin, {e->FindConnector(pin)->GetXLink(), y});
    EXPECT_TRUE(SameNode(e, pin, on, onPin)) << e->Name() << "." << pin;
}

// A ground symbol 30 pixels below the pin, wired to it.
void Ground(ExampleBuilder& b, TBaseElement* e, const char* pin) {
    const TPoint at = e->FindConnector(pin)->GetLink();
    TBaseElement* ground = b.Place("TGround", "Connector", {at.x, at.y + 30});
    Wire(b, e, pin, ground, "Connector");
}

void Run(Schematic& sheet, double T, double h, double GS) {
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    m.h = h;
    m.GS = GS;
}

constexpr int Ohms = 0;

void StepLag(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* step = b.PlaceBox("TStep", 40, 40);
    TBaseElement* lag = b.PlaceBox("TTransferFunction", 140, 47);
    TBaseElement* plot = b.PlaceBox("TPlotter", 260, 40);
    b.Link(step, lag);
    b.Link(lag, plot);
    Run(sheet, 5, 1e-4, 0.05);
}

void IntegratorHold(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* integrator = b.PlaceBox("TIntegrator", 140, 40);
    ExampleBuilder::Set(integrator, "IC", 3);
    b.Link(integrator, b.PlaceBox("TPlotter", 260, 40));
    Run(sheet, 1, 1e-4, 0.01);
}

void ControlledVoltage(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* constant = b.PlaceBox("TConst", 40, 100);
    ExampleBuilder::Set(constant, "K", 5);
    TBaseElement* source = b.PlaceBox("TControlledVoltage", 120, 86);
    TBaseElement* sensor = b.PlaceBox("TVoltageSummator", 231, 84);
    b.Link(constant, source);
    Wire(b, source, "Plus", sensor, "Plus");
    Ground(b, source, "Minus");
    Ground(b, sensor, "Minus");
    b.Link(sensor, b.PlaceBox("TPlotter", 300, 82));
    Run(sheet, 0.1, 1e-4, 0.001);
}

void ControlledCurrent(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* constant = b.PlaceBox("TConst", 40, 100);
    ExampleBuilder::Set(constant, "K", 2);
    TBaseElement* source = b.PlaceBox("TControlledCurrent", 120, 86);
    TBaseElement* load = b.PlaceBox("TResistor", 200, 106);
    load->SetAngle(90);
    ExampleBuilder::Set(load, "R", 3, Ohms);
    TBaseElement* sensor = b.PlaceBox("TVoltageSummator", 280, 84);
    b.Link(constant, source);
    Wire(b, source, "Plus", sensor, "Plus");
    Tap(b, load, "Connector1", source->FindConnector("Plus")->GetYLink(), source, "Plus");
    Ground(b, source, "Minus");
    Ground(b, load, "Connector2");
    Ground(b, sensor, "Minus");
    b.Link(sensor, b.PlaceBox("TPlotter", 350, 82));
    Run(sheet, 0.1, 1e-4, 0.001);
}

void VoltageSensor(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* source = b.PlaceBox("TVoltageSource", 120, 86);
    ExampleBuilder::Set(source, "E", 10);
    TBaseElement* swapped = b.PlaceBox("TVoltageSummator", 210, 110);
    swapped->SetYFlip(true);
    TBaseElement* sensor = b.PlaceBox("TVoltageSummator", 300, 84);
    Wire(b, source, "Plus", sensor, "Plus");
    Tap(b, swapped, "Minus", source->FindConnector("Plus")->GetYLink(), source, "Plus");
    Ground(b, source, "Minus");
    Ground(b, sensor, "Minus");
    Ground(b, swapped, "Plus");
    b.Link(sensor, b.PlaceBox("TPlotter", 370, 82));
    b.Link(swapped, b.PlaceBox("TPlotter", 370, 190));
    Run(sheet, 0.1, 1e-4, 0.001);
}

void SineSource(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* source = b.PlaceBox("TVoltageSin", 120, 82);
    TBaseElement* sensor = b.PlaceBox("TVoltageSummator", 300, 84);
    Wire(b, source, "Plus", sensor, "Plus");
    Ground(b, source, "Minus");
    Ground(b, sensor, "Minus");
    b.Link(sensor, b.PlaceBox("TPlotter", 370, 82));
    Run(sheet, 0.04, 1e-5, 0.0005);
}

// The error is formed in the error circuit: the sensor across the set-point
// EMF and a controlled EMF equal to the measured current reads r − i.
void PiCurrentLoop(Schematic& sheet) {
    ExampleBuilder b(sheet);
    TBaseElement* setPoint = b.PlaceBox("TVoltageSource", 60, 200);
    ExampleBuilder::Set(setPoint, "E", 2);
    TBaseElement* error = b.PlaceBox("TVoltageSummator", 160, 198);
    TBaseElement* feedback = b.PlaceBox("TControlledVoltage", 149, 280);
    Wire(b, setPoint, "Plus", error, "Plus");
    Wire(b, error, "Minus", feedback, "Plus");
    Ground(b, setPoint, "Minus");
    Ground(b, feedback, "Minus");

    auto* pi = static_cast<TTransferFunction*>(b.PlaceBox("TTransferFunction", 240, 203));
    EXPECT_TRUE(pi->SetCoefficients(1, {{1, 10}, {1, 0}, {}}));
    b.Link(error, pi);

    TBaseElement* drive = b.PlaceBox("TControlledVoltage", 360, 195);
    TBaseElement* ammeter = b.PlaceBox("TAmper", 460, 192);
    TBaseElement* resistor = b.PlaceBox("TResistor", 462, 270);
    resistor->SetAngle(90);
    ExampleBuilder::Set(resistor, "R", 1, Ohms);
    TBaseElement* inductor = b.PlaceBox("TInductance", 462, 360);
    inductor->SetAngle(90);
    ExampleBuilder::Set(inductor, "L", 0.1);
    b.Link(pi, drive);
    Wire(b, drive, "Plus", ammeter, "Connector1");
    Wire(b, ammeter, "Connector2", resistor, "Connector1");
    Wire(b, resistor, "Connector2", inductor, "Connector1");
    Ground(b, drive, "Minus");
    Ground(b, inductor, "Connector2");
    b.Link(ammeter, feedback);

    b.Link(ammeter, b.PlaceBox("TPlotter", 560, 194));
    b.Link(pi, b.PlaceBox("TPlotter", 360, 110));
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
