#include "blocks/TControlledVoltage.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "params/Units.h"

namespace {

const ParamDef ControlledVoltageParams[] = {
    {"Внутреннее сопротивление", "Rвн", Units::Resistance, 0.01, 0, 0},
    {},
};

// The EMF is not in the table: the engine puts the control value into the
// branch.
const TBranchRecord Branches[] = {
    {PinTerminal("Minus"), PinTerminal("Plus"),
     ComputedValue(&MemberGetter<TControlledVoltage, &TControlledVoltage::Conductance>),
     ConstValue(0), ConstValue(0)},
    EndRecord(),
};

} // namespace

TControlledVoltage::TControlledVoltage(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = ControlledVoltageParams;
    sheet.ControlledVoltages.Add(this);
}

TControlledVoltage::~TControlledVoltage() {
    Sheet().ControlledVoltages.Remove(this);
}

const TBranchRecord* TControlledVoltage::GetCircuitModel() const {
    return Branches;
}

bool TControlledVoltage::CheckBeforeRun() {
    return RequirePositive("Rвн");
}

REGISTER_ELEMENT(TControlledVoltage, TBaseElement);
