#include "elements/electrical/TDiode.h"

#include "model/ClassRegistry.h"

TDiode::TDiode(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TDiode, TBaseElement);
