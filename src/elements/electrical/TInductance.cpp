#include "elements/electrical/TInductance.h"

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"Индуктивность", "L", Units::Inductance, 0.001, 1, 0},
    {},
};

double Conductance(TBaseElement* e) { return e->Sheet().Run().h / e->ParamOf("L"); }

const TBranchRecord Branches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"), ComputedValue(&Conductance), ConstValue(0),
     StepValue(&MemberGetter<TInductance, &TInductance::Source>)},
    EndRecord(),
};

} // namespace

TInductance::TInductance(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = Params; }

void TInductance::Loaded() {
    TBaseElement::Loaded();
    c1_ = FindConnector("Connector1");
    c2_ = FindConnector("Connector2");
}

const TBranchRecord* TInductance::GetCircuitModel() const { return Branches; }

void TInductance::ResetState() {
    FLastTime = -1.0;
    FSource = 0.0;
}

// i = i_prev + (h/L)·v, kept as FSource = −i so that the branch current is
// g·v − FSource.
void TInductance::BeginStep() {
    const TSimModel& m = Sheet().Run();
    if (m.Time > FLastTime) {
        FLastTime = m.Time;
        const double v = (c1_ ? c1_->GetPhi() : 0.0) - (c2_ ? c2_->GetPhi() : 0.0);
        FSource -= m.h / ParamOf("L") * v;
    }
}

REGISTER_ELEMENT(TInductance, TBaseElement);
