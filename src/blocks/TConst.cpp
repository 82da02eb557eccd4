#include "blocks/TConst.h"

#include "model/ClassRegistry.h"

TConst::TConst(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TConst, TProducer);
