#include "elements/power/TAmplifier.h"

#include "model/ClassRegistry.h"

TAmplifier::TAmplifier(Schematic& sheet) : TBaseElement(sheet) {}

REGISTER_ELEMENT(TAmplifier, TBaseElement);
