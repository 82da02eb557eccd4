#include "elements/electrical/TSolarBattery.h"

#include "model/ClassRegistry.h"

TSolarBattery::TSolarBattery(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TSolarBattery, TBaseElement);
