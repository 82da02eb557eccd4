#include "blocks/TControlledCurrent.h"

#include "model/ClassRegistry.h"
#include "model/Schematic.h"

TControlledCurrent::TControlledCurrent(Schematic& sheet) : TBaseElement(sheet) {
    sheet.ControlledCurrents.Add(this);
}

TControlledCurrent::~TControlledCurrent() {
    Sheet().ControlledCurrents.Remove(this);
}

REGISTER_ELEMENT(TControlledCurrent, TBaseElement);
