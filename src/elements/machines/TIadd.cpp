#include "elements/machines/TIadd.h"

#include "model/ClassRegistry.h"

TIadd::TIadd(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TIadd, TProducer);
