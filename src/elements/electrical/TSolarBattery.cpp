#include "elements/electrical/TSolarBattery.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"Величина тока", "I", Units::Current, 1, 2, 0},
    {"Внутреннее сопротивление", "Rвн", Units::Resistance, 1, 0, 0},
    {},
};

double Conductance(TBaseElement* e) { return 1.0 / e->ParamOf("Rвн"); }

const TBranchRecord Branches[] = {
    {PinTerminal("Plus"), PinTerminal("Minus"), ComputedValue(&Conductance), ConstValue(0), ParamValueRef("I")},
    EndRecord(),
};

} // namespace

TSolarBattery::TSolarBattery(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = Params; }

const TBranchRecord* TSolarBattery::GetCircuitModel() const { return Branches; }

REGISTER_ELEMENT(TSolarBattery, TBaseElement);
