#include "elements/power/TOptoPair.h"

#include <string>

#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Коэф. передачи по току", "Ki", nullptr, 0.01, 0, 0},
    {"Постоянный обратный ток", "Iобрпост", Units::Current, 2e-06, 0, 0},
    {},
};

} // namespace

void WarnNotSimulated(const TBaseElement& element) {
    Msg().Warning("Компонент " + element.Name() + " №" + std::to_string(element.ElementIndex()) +
                      ": элемент не имеет модели для расчёта и не участвует в моделировании.",
                  ApplicationTitle);
}

TOptoPair::TOptoPair(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    DbSection = "OptoPairs";
}

bool TOptoPair::CheckBeforeRun() {
    WarnNotSimulated(*this);
    return true;
}

REGISTER_ELEMENT(TOptoPair, TBaseElement);
