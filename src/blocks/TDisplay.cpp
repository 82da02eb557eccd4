#include "blocks/TDisplay.h"

#include "model/ClassRegistry.h"

TDisplay::TDisplay(Schematic& sheet) : TConsumer(sheet) {}

REGISTER_ELEMENT(TDisplay, TConsumer);
