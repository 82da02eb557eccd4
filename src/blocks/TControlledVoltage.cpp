#include "blocks/TControlledVoltage.h"

#include "model/ClassRegistry.h"
#include "model/Schematic.h"

TControlledVoltage::TControlledVoltage(Schematic& sheet) : TBaseElement(sheet) {
    sheet.ControlledVoltages.Add(this);
}

TControlledVoltage::~TControlledVoltage() {
    Sheet().ControlledVoltages.Remove(this);
}

REGISTER_ELEMENT(TControlledVoltage, TBaseElement);
