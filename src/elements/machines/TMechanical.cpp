#include "elements/machines/TMechanical.h"

#include "model/ClassRegistry.h"

TMechanical::TMechanical(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TMechanical, TBaseElement);
