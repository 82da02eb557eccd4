#include "elements/machines/TTransformator.h"

#include "model/ClassRegistry.h"

TTransformator::TTransformator(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TTransformator, TBaseElement);
