#include "elements/machines/TPovTr.h"

#include "model/ClassRegistry.h"

TPovTr::TPovTr(Schematic& sheet) : TConsumer(sheet) {}

REGISTER_ELEMENT(TPovTr, TConsumer);
