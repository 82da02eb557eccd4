#include "elements/electrical/TCurrentSource.h"

#include "model/ClassRegistry.h"

TCurrentSource::TCurrentSource(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TCurrentSource, TBaseElement);
