#include "elements/machines/TMotor.h"

#include "model/ClassRegistry.h"

TMotor::TMotor(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TMotor, TProducer);
