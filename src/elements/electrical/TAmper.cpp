#include "elements/electrical/TAmper.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"Сопротивление", "r", Units::Resistance, 0.01, 0, 0},
    {},
};

const TBranchRecord Branches[] = {
    {PinTerminal("Connector2"), PinTerminal("Connector1"),
     StepValue(&MemberGetter<TAmper, &TAmper::ShuntConductance>), ConstValue(0), ConstValue(0)},
    EndRecord(),
};

} // namespace

TAmper::TAmper(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = Params;
    DbSection = "Amper";
}

void TAmper::Loaded() {
    TProducer::Loaded();
    c1_ = FindConnector("Connector1");
    c2_ = FindConnector("Connector2");
}

const TBranchRecord* TAmper::GetCircuitModel() const { return Branches; }

void TAmper::ResetState() { FShunt = ParamOf("r"); }

double TAmper::Current() { return ((c1_ ? c1_->GetPhi() : 0.0) - (c2_ ? c2_->GetPhi() : 0.0)) / FShunt; }

TValue TAmper::GetOutput() { return TValue(this, &MemberGetter<TAmper, &TAmper::Current>); }

REGISTER_ELEMENT(TAmper, TProducer);
