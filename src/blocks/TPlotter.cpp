#include "blocks/TPlotter.h"

#include "model/ClassRegistry.h"

TPlotter::TPlotter(Schematic& sheet) : TConsumer(sheet) {}

REGISTER_ELEMENT(TPlotter, TConsumer);
