#include "elements/electrical/TSwitch.h"

#include "model/ClassRegistry.h"

TSwitch::TSwitch(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TSwitch, TBaseElement);
