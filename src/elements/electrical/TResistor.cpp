#include "elements/electrical/TResistor.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "params/Units.h"

namespace {

const ParamDef Params[] = {
    {"Сопротивление", "R", Units::Resistance, 1000, 1, 0},
    {},
};

double Conductance(TBaseElement* e) { return 1.0 / e->ParamOf("R"); }

const TBranchRecord Branches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"), ComputedValue(&Conductance), ConstValue(0),
     ConstValue(0)},
    EndRecord(),
};

} // namespace

TResistor::TResistor(Schematic& sheet) : TBaseElement(sheet) { RefParamDefs = Params; }

const TBranchRecord* TResistor::GetCircuitModel() const { return Branches; }

REGISTER_ELEMENT(TResistor, TBaseElement);
