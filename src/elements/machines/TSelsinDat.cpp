#include "elements/machines/TSelsinDat.h"

#include "model/ClassRegistry.h"

TSelsinDat::TSelsinDat(Schematic& sheet) : TConsumer(sheet) {}

REGISTER_ELEMENT(TSelsinDat, TConsumer);
