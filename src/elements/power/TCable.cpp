#include "elements/power/TCable.h"

#include "elements/power/TOptoPair.h"
#include "model/ClassRegistry.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Разность потенциалов", "U", Units::Voltage, 0.1, 2, 0},
    {},
};

} // namespace

TCable::TCable(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
}

bool TCable::CheckBeforeRun() {
    WarnNotSimulated(*this);
    return true;
}

REGISTER_ELEMENT(TCable, TBaseElement);
