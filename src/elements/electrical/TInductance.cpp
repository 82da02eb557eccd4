#include "elements/electrical/TInductance.h"

#include "model/ClassRegistry.h"

TInductance::TInductance(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TInductance, TBaseElement);
