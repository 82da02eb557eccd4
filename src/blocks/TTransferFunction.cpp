#include "blocks/TTransferFunction.h"

#include "model/ClassRegistry.h"

TTransferFunction::TTransferFunction(Schematic& sheet) : TDynamic(sheet) {}

REGISTER_ELEMENT(TTransferFunction, TDynamic);
