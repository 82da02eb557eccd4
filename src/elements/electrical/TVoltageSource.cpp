#include "elements/electrical/TVoltageSource.h"

#include "model/ClassRegistry.h"

TVoltageSource::TVoltageSource(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TVoltageSource, TBaseElement);
