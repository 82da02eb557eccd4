#include "elements/power/TBipolarNPN.h"

#include "model/ClassRegistry.h"

TBipolarNPN::TBipolarNPN(Schematic& sheet) : TTransistor(sheet) {
    DbSection = "Bip_NPN";
}

REGISTER_ELEMENT(TBipolarNPN, TTransistor);
