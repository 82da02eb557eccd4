#include "blocks/TIntegrator.h"

#include "model/ClassRegistry.h"

TIntegrator::TIntegrator(Schematic& sheet) : TDynamic(sheet) {}

REGISTER_ELEMENT(TIntegrator, TDynamic);
