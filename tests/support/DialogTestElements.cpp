#include "support/DialogTestElements.h"

#include "model/ClassRegistry.h"
#include "model/FormDescription.h"
#include "params/Units.h"
#include "support/TestElements.h"

namespace {

const ParamDef GaugeRefs[] = {
    {"Температура", "T", Units::Temperature, 300, 0, 0},
    {"Множитель", "k", nullptr, 0.5, 0, 0},
    {},
};

const ParamDef GaugeModel[] = {
    {"Произведение", "Kelvin", nullptr, 0, 0, AllMethods},
    {"Только нулевой метод", "First", nullptr, 1, 0, 1u},
    {},
};

const bool form = [] {
    RegisterForm({"TTestGauge", {E("Connector1", 0, 6), E("Connector2", 32, 6)},
                  TestBoxPicture(40, 20), 0, 0});
    return true;
}();

} // namespace

TTestGauge::TTestGauge(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = GaugeRefs;
    ModelParamDefs = GaugeModel;
}

bool TTestGauge::CalcModelParams() {
    ParamValue* kelvin = FindParam("Kelvin");
    if (!kelvin) return false;
    kelvin->Value = ParamOf("T") * ParamOf("k");
    return true;
}

REGISTER_ELEMENT(TTestGauge, TBaseElement);
