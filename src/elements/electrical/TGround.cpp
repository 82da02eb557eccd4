#include "elements/electrical/TGround.h"

#include "model/ClassRegistry.h"

TGround::TGround(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TGround, TBaseElement);
