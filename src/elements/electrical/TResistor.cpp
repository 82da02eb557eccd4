#include "elements/electrical/TResistor.h"

#include "model/ClassRegistry.h"

TResistor::TResistor(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TResistor, TBaseElement);
