#include "blocks/Nonlinearities.h"

#include "model/ClassRegistry.h"

TLimit::TLimit(Schematic& sheet) : TStatic(sheet) {}
TDeadBand::TDeadBand(Schematic& sheet) : TStatic(sheet) {}
TRelay::TRelay(Schematic& sheet) : TStatic(sheet) {}
TDeadLimit::TDeadLimit(Schematic& sheet) : TStatic(sheet) {}
TGisteresis::TGisteresis(Schematic& sheet) : TStatic(sheet) {}

REGISTER_ELEMENT(TLimit, TStatic);
REGISTER_ELEMENT(TDeadBand, TStatic);
REGISTER_ELEMENT(TRelay, TStatic);
REGISTER_ELEMENT(TDeadLimit, TStatic);
REGISTER_ELEMENT(TGisteresis, TStatic);
