#include "elements/machines/TTransformer.h"

#include "model/ClassRegistry.h"

TTransformer::TTransformer(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TTransformer, TBaseElement);
