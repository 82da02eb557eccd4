#include "elements/power/TAmplifier.h"

#include <string>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

constexpr int Kiloohm = 1, Ohm = 0;

const ParamDef RefParams[] = {
    {"Входное сопротивление", "Rin", Units::Resistance, 10000, Kiloohm, 0},
    {"Выходное сопротивление", "Rout", Units::Resistance, 100, Ohm, 0},
    {"Коэффициент усиления", "K", nullptr, 1, 0, 0},
    {},
};

const ParamDef ModelParams[] = {
    {"Входное сопротивление", "Rin", Units::Resistance, 10000, Kiloohm, 1u},
    {"Выходное сопротивление", "Rout", Units::Resistance, 100, Ohm, 1u},
    {"Коэффициент усиления", "K", nullptr, 1, 0, 1u},
    {},
};

const char* const Methods[] = {"Идеализированный", nullptr};

using A = TAmplifier;

const TBranchRecord Branches[] = {
    {PinTerminal("Uin"), PinTerminal("GndIn"), StepValue(&MemberGetter<A, &A::InputConductance>),
     ConstValue(0.0), ConstValue(0.0)},
    {PinTerminal("Uout"), PinTerminal("GndOut"), StepValue(&MemberGetter<A, &A::OutputConductance>),
     StepValue(&MemberGetter<A, &A::OutputEmf>), ConstValue(0.0)},
    EndRecord(),
};

} // namespace

TAmplifier::TAmplifier(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
}

bool TAmplifier::CalcModelParams() {
    if (MethodIndex != 0) return true;
    // The reference and the model rows share their names: copy through the
    // stored rows, reference rows first.
    const int refs = ParamRowCount(RefParamDefs);
    for (int i = 0; i < refs && i + refs < int(ParamValues.size()); ++i)
        ParamValues[std::size_t(refs + i)].Value = ParamValues[std::size_t(i)].Value;
    return true;
}

void TAmplifier::ResetState() {
    uin_ = FindConnector("Uin");
    gndIn_ = FindConnector("GndIn");
    if (MethodIndex != 0) return;
    const int refs = ParamRowCount(RefParamDefs);
    auto model = [this, refs](int row) {
        return refs + row < int(ParamValues.size()) ? ParamValues[std::size_t(refs + row)].Value
                                                    : 0.0;
    };
    Rin = model(0);
    Rout = model(1);
    K = model(2);
    LastTime = -1.0;
    Gin = 1.0 / Rin;
    Gout = 1.0 / Rout;
}

const TBranchRecord* TAmplifier::GetCircuitModel() const {
    return Branches;
}

bool TAmplifier::CheckBeforeRun() {
    // The run uses the model rows, which a name look-up would not reach.
    if (MethodIndex != 0) return true;
    const int refs = ParamRowCount(RefParamDefs);
    bool ok = true;
    for (int row : {0, 1}) {
        const std::size_t k = std::size_t(refs + row);
        if (k >= ParamValues.size() || ParamValues[k].Value > 0) continue;
        Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) + ": параметр " +
                        ModelParams[row].Name + " должен быть больше нуля.",
                    ApplicationTitle);
        ok = false;
    }
    return ok;
}

double TAmplifier::InputConductance() {
    return Gin;
}

double TAmplifier::OutputConductance() {
    return Gout;
}

void TAmplifier::BeginStep() {
    const double now = Sheet().Run().Time;
    if (LastTime < now) {
        InputVoltage = (uin_ ? uin_->GetPhi() : 0.0) - (gndIn_ ? gndIn_->GetPhi() : 0.0);
        Emf = K * InputVoltage;
        LastTime = now;
    }
}

REGISTER_ELEMENT(TAmplifier, TBaseElement);
