#include "elements/machines/TAtd.h"

#include "model/ClassRegistry.h"

TAtd::TAtd(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TAtd, TProducer);
