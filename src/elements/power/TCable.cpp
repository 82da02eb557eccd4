#include "elements/power/TCable.h"

#include "model/ClassRegistry.h"

TCable::TCable(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TCable, TBaseElement);
