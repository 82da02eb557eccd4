#include "elements/machines/TVarMotor.h"

#include "model/ClassRegistry.h"

TVarMotor::TVarMotor(Schematic& sheet) : TProducer(sheet) {}

REGISTER_ELEMENT(TVarMotor, TProducer);
