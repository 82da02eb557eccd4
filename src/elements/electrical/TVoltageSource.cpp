#include "elements/electrical/TVoltageSource.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"Величина ЭДС", "E", Units::Voltage, 12, 2, 0},
    {"Внутреннее сопротивление", "Rвн", Units::Resistance, 0.01, 0, 0},
    {},
};

double Conductance(TBaseElement* e) { return 1.0 / e->ParamOf("Rвн"); }

const TBranchRecord Branches[] = {
    {PinTerminal("Minus"), PinTerminal("Plus"), ComputedValue(&Conductance), ParamValueRef("E"), ConstValue(0)},
    EndRecord(),
};

} // namespace

TVoltageSource::TVoltageSource(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = Params; }

const TBranchRecord* TVoltageSource::GetCircuitModel() const { return Branches; }

REGISTER_ELEMENT(TVoltageSource, TBaseElement);
