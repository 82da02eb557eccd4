#include "elements/machines/TAtdpet.h"

#include "model/ClassRegistry.h"

TAtdpet::TAtdpet(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TAtdpet, TProducer);
