#include "elements/electrical/TBattery.h"

#include "model/ClassRegistry.h"

TBattery::TBattery(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TBattery, TBaseElement);
