#include "blocks/TVoltageSin.h"

#include "model/ClassRegistry.h"

TVoltageSin::TVoltageSin(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TVoltageSin, TBaseElement);
