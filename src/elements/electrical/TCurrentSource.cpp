#include "elements/electrical/TCurrentSource.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"Величина тока", "I", Units::Current, 1, 2, 0},
    {},
};

const TBranchRecord Branches[] = {
    {PinTerminal("Plus"), PinTerminal("Minus"), ConstValue(0), ConstValue(0), ParamValueRef("I")},
    EndRecord(),
};

} // namespace

TCurrentSource::TCurrentSource(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = Params; }

const TBranchRecord* TCurrentSource::GetCircuitModel() const { return Branches; }

REGISTER_ELEMENT(TCurrentSource, TBaseElement);
