#include "blocks/TDivideningJunction.h"

#include "model/ClassRegistry.h"

TDivideningJunction::TDivideningJunction(Schematic& sheet) : TStatic(sheet) {}

REGISTER_ELEMENT(TDivideningJunction, TStatic);
