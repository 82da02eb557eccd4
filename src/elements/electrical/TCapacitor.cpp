#include "elements/electrical/TCapacitor.h"

#include "model/ClassRegistry.h"

TCapacitor::TCapacitor(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TCapacitor, TBaseElement);
