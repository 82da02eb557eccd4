#include "elements/power/TAin.h"

#include <cmath>
#include <string>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/power/ConverterParams.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"
#include "params/ValueText.h"

namespace {

constexpr int Ohm = 0, Kiloohm = 1;

const ParamDef RefParams[] = {
    {"Коэффициет передачи", "k", Converter::Transfer, 1.0, 0, 0},
    {"Выходное сопротив.", "Rg", Units::Resistance, 0.01, Ohm, 0},
    {"Входное сопротив.", "Ru", Units::Resistance, 10000, Kiloohm, 0},
    {},
};

using A = TAin;

template <int Phase> constexpr TBranchRecord PhaseBranch(const char* pin) {
    return {InternalNode(0), PinTerminal(pin),
            ComputedValue(&MemberGetter<A, &A::OutputConductance>),
            StepValue(&MemberGetter<A, &A::PhaseEmf<Phase>>), ConstValue(0.0)};
}

const TBranchRecord Branches[] = {
    PhaseBranch<0>("Connector_A"),
    PhaseBranch<1>("Connector_B"),
    PhaseBranch<2>("Connector_C"),
    {PinTerminal("U2"), PinTerminal("U1"), ComputedValue(&MemberGetter<A, &A::InputConductance>),
     ConstValue(0.0), ConstValue(0.0)},
    EndRecord(),
};

} // namespace

TAin::TAin(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    DbSection = "Ains";
}

void TAin::ResetState() {
    u1_ = FindConnector("U1");
    u2_ = FindConnector("U2");
    K = Converter::TruncatedTransfer(ParamOf("k"));
    Ru = ParamOf("Ru");
    Rg = ParamOf("Rg");
    PhaseOffset[0] = 0;
    PhaseOffset[1] = -2 * Pi / 3;
    PhaseOffset[2] = 2 * Pi / 3;
    Omega = Amplitude = UpdateTime = Angle = 0;
    Emf[0] = Emf[1] = Emf[2] = 0;
    LastTime = -1.0;
}

const TBranchRecord* TAin::GetCircuitModel() const {
    return Branches;
}

bool TAin::CheckBeforeRun() {
    return Converter::CheckBeforeRun(*this, "частота инвертора равна нулю, фазные ЭДС постоянны.");
}

double TAin::OutputConductance() {
    return 1.0 / Rg;
}

double TAin::InputConductance() {
    return 1.0 / Ru;
}

void TAin::Update() {
    const double now = Sheet().Run().Time;
    if (!(now > LastTime)) return;
    const double u = (u1_ ? u1_->GetPhi() : 0.0) - (u2_ ? u2_->GetPhi() : 0.0);
    if (u >= 1) {
        Omega = TwoPi * K * u;
        Amplitude = 4.4 * u;
    } else {
        Omega = 100 * Pi * K;
        Amplitude = 220;
    }
    // The phase argument advances by the present frequency over the step.
    // Omega·t itself would run at Omega + t·dOmega/dt while the control
    // changes: a ramp from zero would come out at twice the frequency asked.
    if (LastTime >= 0) Angle = std::fmod(Angle + Omega * (now - LastTime), TwoPi);
    UpdateTime = LastTime = now;
    for (int p = 0; p < 3; ++p)
        Emf[p] = Amplitude * std::sin(Angle + PhaseOffset[p]);
}

REGISTER_ELEMENT(TAin, TBaseElement);
