#include "elements/power/TBipolarNPN.h"

#include "model/ClassRegistry.h"

TBipolarNPN::TBipolarNPN(Schematic& sheet) : TTransistor(sheet) {}

REGISTER_ELEMENT(TBipolarNPN, TTransistor);
