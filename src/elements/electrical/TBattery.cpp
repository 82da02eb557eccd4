#include "elements/electrical/TBattery.h"

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"ЭДС", "E", Units::Voltage, 12, 2, 0},
    {"Внутреннее сопротивление", "Rвн", Units::Resistance, 1, 0, 0},
    {"Коэффициент разряда", "Kраз", nullptr, 1, 0, 0},
    {"Коэффициент заряда", "Kзар", nullptr, 1, 0, 0},
    {},
};

double Conductance(TBaseElement* e) { return 1.0 / e->ParamOf("Rвн"); }

// The EMF branch is meant to be an ideal EMF; its conductance only has to be
// large beside 1/"Rвн" (it adds 0.1 mΩ), so that the internal resistance is the
// user's, and small enough to keep the equations well conditioned. (A
// conductance of 0.1 S would add 10 Ω in series with every battery.)
constexpr double IdealEmfConductance = 1e4;

const TBranchRecord Branches[] = {
    {PinTerminal("Minus"), InternalNode(0), ConstValue(IdealEmfConductance), StepValue(&MemberGetter<TBattery, &TBattery::Emf>),
     ConstValue(0)},
    {InternalNode(0), PinTerminal("Plus"), ComputedValue(&Conductance), ConstValue(0), ConstValue(0)},
    EndRecord(),
};

} // namespace

TBattery::TBattery(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = Params; }

void TBattery::Loaded() {
    TBaseElement::Loaded();
    plus_ = FindConnector("Plus");
}

const TBranchRecord* TBattery::GetCircuitModel() const { return Branches; }

void TBattery::ResetState() {
    FLastTime = -1.0;
    FEmf = ParamOf("E");
}

void TBattery::BeginStep() {
    const TSimModel& m = Sheet().Run();
    if (m.Time > FLastTime) {
        FLastTime = m.Time;
        // Positive while current enters at Plus: the battery is being charged.
        const double d = (plus_ ? plus_->GetPhi() : 0.0) - m.Potential(FNodeBase);
        const double k = d >= 0 ? ParamOf("Kзар") : ParamOf("Kраз");
        FEmf += k * d * m.h;
    }
}

REGISTER_ELEMENT(TBattery, TBaseElement);
