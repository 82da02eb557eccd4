#include "elements/power/TThyristor.h"

#include "model/ClassRegistry.h"

TThyristor::TThyristor(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TThyristor, TBaseElement);
