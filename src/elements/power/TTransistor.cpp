#include "elements/power/TTransistor.h"

#include "model/ClassRegistry.h"

TTransistor::TTransistor(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TTransistor, TBaseElement);
