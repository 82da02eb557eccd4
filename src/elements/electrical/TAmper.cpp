#include "elements/electrical/TAmper.h"

#include "model/ClassRegistry.h"

TAmper::TAmper(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TAmper, TProducer);
