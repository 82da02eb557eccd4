#include "elements/machines/DcArmature.h"

#include <string>

#include "model/Messages.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"

namespace DcMachine {

const UnitDef RevPerMinute[] = {{"об/мин", 1}, {}};
const UnitDef VoltSecondPerRad[] = {{"B c/рад", 1}, {}};
const UnitDef MotorOutput[] = {{"w,рад/с ", 0},
                               {"n,об/мин", 0},
                               {"n,об/с", 0},
                               {"М вращ.,H м  ", 0},
                               {"M сопр.,Н м", 0},
                               {"М дин.,Н м", 0},
                               {}};
const UnitDef MechanicalOutput[] = {{"V,рад/с", 0}, {"V,об/мин", 0}, {"Момент", 0}, {}};
const UnitDef FieldMotorOutput[] = {{"М сопр,Н м", 0},
                                    {"М вращ,Н м", 0},
                                    {"М дин.,Н м", 0},
                                    {"w,рад/с", 0},
                                    {"w,об/мин", 0},
                                    {"w,об/с", 0},
                                    {}};

double Voltage(const TConnector* a, const TConnector* b) {
    return (a ? a->GetPhi() : 0.0) - (b ? b->GetPhi() : 0.0);
}

double FieldMotorValue(int choice, double Ml, double torque, double omega) {
    switch (choice) {
    case 1:
        return torque;
    case 2:
        return torque - Ml;
    case 3:
        return omega;
    case 4:
        return omega * 60 * PerTurn;
    case 5:
        return omega * PerTurn;
    default:
        return Ml;
    }
}

bool RequireMethod(const TBaseElement& e) {
    if (e.MethodIndex >= 0 && e.MethodIndex < MethodCount(e.ModelMethods)) return true;
    Msg().Error("Компонент " + e.Name() + " №" + std::to_string(e.ElementIndex()) +
                    ": модель момента нагрузки № " + std::to_string(e.MethodIndex) +
                    " отсутствует в списке.",
                ApplicationTitle);
    return false;
}

bool RequireOption(const TBaseElement& e, const char* name) {
    const ParamValue* v = e.FindParam(name);
    if (!v || !v->Def || ValidUnit(*v->Def, v->Unit)) return true;
    Msg().Error("Компонент " + e.Name() + " №" + std::to_string(e.ElementIndex()) + ": параметр " +
                    name + " имеет недопустимый выбор № " + std::to_string(v->Unit) + ".",
                ApplicationTitle);
    return false;
}

void TArmature::Reset(double r, double l, double j) {
    R = r;
    L = l;
    J = j;
    tm = dt = i = i0 = w = w0 = Ml = G = E = 0;
}

void TArmature::Step(double t, double u, double K, LoadTorque::TModel& load) {
    dt = t - tm;
    Ml = load.Step(t, w0, dt);
    E = (L / dt) * i0 - K * w0 + dt * K * Ml / J;
    G = 1.0 / (L / dt + R + dt * K * K / J);
    i = (u + E) * G;
    w = w0 + (K * i - Ml) * dt / J;
    tm = t;
    i0 = i;
    w0 = w;
}

} // namespace DcMachine
