#include "blocks/TGain.h"

#include "model/ClassRegistry.h"

TGain::TGain(Schematic& sheet) : TStatic(sheet) {}

REGISTER_ELEMENT(TGain, TStatic);
