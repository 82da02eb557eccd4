#include "blocks/TControlledCurrent.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"

namespace {

// The source current is not in the table: the engine puts the control value
// into the branch.
const TBranchRecord Branches[] = {
    {PinTerminal("Plus"), PinTerminal("Minus"), ConstValue(0), ConstValue(0), ConstValue(0)},
    EndRecord(),
};

} // namespace

TControlledCurrent::TControlledCurrent(Schematic& sheet) : TBaseElement(sheet) {
    sheet.ControlledCurrents.Add(this);
}

TControlledCurrent::~TControlledCurrent() {
    Sheet().ControlledCurrents.Remove(this);
}

const TBranchRecord* TControlledCurrent::GetCircuitModel() const {
    return Branches;
}

REGISTER_ELEMENT(TControlledCurrent, TBaseElement);
