#include "blocks/TSummingJunction.h"

#include "model/ClassRegistry.h"

TSummingJunction::TSummingJunction(Schematic& sheet) : TStatic(sheet) {}

REGISTER_ELEMENT(TSummingJunction, TStatic);
