#include "elements/power/TAin.h"

#include "model/ClassRegistry.h"

TAin::TAin(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TAin, TBaseElement);
