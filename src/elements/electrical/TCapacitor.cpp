#include "elements/electrical/TCapacitor.h"

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"Ёмкость", "C", Units::Capacitance, 1e-06, 2, 0},
    {},
};

double Conductance(TBaseElement* e) { return e->ParamOf("C") / e->Sheet().Run().h; }

const TBranchRecord Branches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"), ComputedValue(&Conductance),
     StepValue(&MemberGetter<TCapacitor, &TCapacitor::Source>), ConstValue(0)},
    EndRecord(),
};

} // namespace

TCapacitor::TCapacitor(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = Params; }

void TCapacitor::Loaded() {
    TBaseElement::Loaded();
    c1_ = FindConnector("Connector1");
    c2_ = FindConnector("Connector2");
}

const TBranchRecord* TCapacitor::GetCircuitModel() const { return Branches; }

void TCapacitor::ResetState() {
    FLastTime = -1.0;
    FSource = 0.0;
    nodesKnown_ = false;
}

void TCapacitor::BeginStep() {
    if (!nodesKnown_) {
        nodesKnown_ = true;
        wired_ = c1_ && c2_ && c1_->IsConnected() && c2_->IsConnected();
        node1_ = wired_ ? c1_->FSimNode : -1;
        node2_ = wired_ ? c2_->FSimNode : -1;
    }
    if (!wired_) return;
    const TSimModel& m = Sheet().Run();
    if (m.Time > FLastTime) {
        FLastTime = m.Time;
        FSource = m.Potential(node2_) - m.Potential(node1_);
    }
}

REGISTER_ELEMENT(TCapacitor, TBaseElement);
