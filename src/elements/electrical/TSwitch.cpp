#include "elements/electrical/TSwitch.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Напряжение открывания ключа", "Uopen", Units::Voltage, 2, 2, 0},
    {"Ток открывания ключа", "Iopen", Units::Current, 0.01, 2, 0},
    {"Сопротивление в откр. состоянии", "Ron", Units::Resistance, 1, 0, 0},
    {"Сопротивление в закр. состоянии", "Roff", Units::Resistance, 1e+09, 2, 0},
    {},
};

const ParamDef ModelParams[] = {
    {"Сопротивление цепи управления ключа", "Rcontrol", Units::Resistance, 1, 0, 1u},
    {},
};

const char* const Methods[] = {"Идеальный ключ", nullptr};

using S = TSwitch;

// The main branch comes first, so within one residual evaluation it sees the
// state the control branch left at the previous read.
const TBranchRecord Branches[] = {
    {PinTerminal("Anode"), PinTerminal("Cathode"), LiveValue(&MemberGetter<S, &S::MainConductance>),
     ConstValue(0.0), ConstValue(0.0)},
    {PinTerminal("Control"), PinTerminal("Cathode"),
     LiveValue(&MemberGetter<S, &S::ControlConductance>), ConstValue(0.0), ConstValue(0.0)},
    EndRecord(),
};

} // namespace

TSwitch::TSwitch(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
    DbSection = "Switchs";
}

bool TSwitch::CalcModelParams() {
    if (ParamValue* r = FindParam("Rcontrol")) r->Value = ParamOf("Uopen") / ParamOf("Iopen");
    return true;
}

void TSwitch::ResetState() {
    control_ = FindConnector("Control");
    cathode_ = FindConnector("Cathode");
    uopen_ = FindParam("Uopen");
    Ron = ParamOf("Ron");
    Roff = ParamOf("Roff");
    Rcontrol = ParamOf("Rcontrol");
    FOn = false;
}

const TBranchRecord* TSwitch::GetCircuitModel() const {
    return MethodIndex == 0 ? Branches : nullptr;
}

bool TSwitch::CheckBeforeRun() {
    const bool on = RequirePositive("Ron");
    const bool off = RequirePositive("Roff");
    const bool control = RequirePositive("Rcontrol");
    return on && off && control;
}

double TSwitch::MainConductance() {
    return FOn ? 1.0 / Ron : 1.0 / Roff;
}

double TSwitch::ControlConductance() {
    const double u = (control_ ? control_->GetPhi() : 0.0) - (cathode_ ? cathode_->GetPhi() : 0.0);
    FOn = u >= (uopen_ ? uopen_->Value : 0.0);
    return 1.0 / Rcontrol;
}

REGISTER_ELEMENT(TSwitch, TBaseElement);
