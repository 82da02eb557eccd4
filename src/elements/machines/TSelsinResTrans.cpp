#include "elements/machines/TSelsinResTrans.h"

#include "model/ClassRegistry.h"

TSelsinResTrans::TSelsinResTrans(Schematic& sheet) : TConsumer(sheet) {}

REGISTER_ELEMENT(TSelsinResTrans, TConsumer);
