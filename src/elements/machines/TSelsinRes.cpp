#include "elements/machines/TSelsinRes.h"

#include "model/ClassRegistry.h"

TSelsinRes::TSelsinRes(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TSelsinRes, TProducer);
