#include "elements/power/TTvf.h"

#include "model/ClassRegistry.h"

TTvf::TTvf(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TTvf, TBaseElement);
