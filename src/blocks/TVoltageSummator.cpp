#include "blocks/TVoltageSummator.h"

#include "model/ClassRegistry.h"
#include "model/Schematic.h"

TVoltageSummator::TVoltageSummator(Schematic& sheet) : TBaseElement(sheet) {
    sheet.VoltageSummators.Add(this);
}

TVoltageSummator::~TVoltageSummator() {
    Sheet().VoltageSummators.Remove(this);
}

REGISTER_ELEMENT(TVoltageSummator, TBaseElement);
