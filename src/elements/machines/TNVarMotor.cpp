#include "elements/machines/TNVarMotor.h"

#include "model/ClassRegistry.h"

TNVarMotor::TNVarMotor(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TNVarMotor, TProducer);
