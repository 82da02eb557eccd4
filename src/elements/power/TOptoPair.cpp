#include "elements/power/TOptoPair.h"

#include "model/ClassRegistry.h"

TOptoPair::TOptoPair(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TOptoPair, TBaseElement);
