#include "blocks/TVoltageSin.h"

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "params/Units.h"

namespace {

// Default units: volts, hertz, radians, ohms.
const ParamDef VoltageSinParams[] = {
    {"Амплитуда", "E", Units::Voltage, 220.0, 2, 0},
    {"Частота", "w", Units::AngularFrequency, 100 * Pi, 1, 0},
    {"Начальная фаза", "phi", Units::Phase, 0.0, 0, 0},
    {"Внутреннее сопротивление", "Rvn", Units::Resistance, 0.01, 0, 0},
    {},
};

const TBranchRecord Branches[] = {
    {PinTerminal("Minus"), PinTerminal("Plus"),
     ComputedValue(&MemberGetter<TVoltageSin, &TVoltageSin::Conductance>),
     StepValue(&MemberGetter<TVoltageSin, &TVoltageSin::ElectromotiveForce>), ConstValue(0)},
    EndRecord(),
};

} // namespace

TVoltageSin::TVoltageSin(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = VoltageSinParams;
}

void TVoltageSin::ResetState() {
    E = ParamOf("E");
    W = ParamOf("w");
    Phi = ParamOf("phi");
    Rvn = ParamOf("Rvn");
    LastTime = -1.0;
    Emf = 0.0;
}

bool TVoltageSin::CheckBeforeRun() {
    return RequirePositive("Rvn");
}

const TBranchRecord* TVoltageSin::GetCircuitModel() const {
    return Branches;
}

void TVoltageSin::BeginStep() {
    const double t = Sheet().Run().Time;
    if (t > LastTime) {
        LastTime = t;
        Emf = E * std::sin(W * t + Phi);
    }
}

REGISTER_ELEMENT(TVoltageSin, TBaseElement);
