#include "blocks/TMultiplyingJunction.h"

#include "model/ClassRegistry.h"

TMultiplyingJunction::TMultiplyingJunction(Schematic& sheet) : TStatic(sheet) {}

REGISTER_ELEMENT(TMultiplyingJunction, TStatic);
