#include "elements/machines/TTransformator.h"

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/machines/DcArmature.h"
#include "elements/machines/Windings.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Ном. напряжение I-ой обмотки", "U1nom", Units::Voltage, 220, 2, 0},
    {"Ном. ток I-ой обмотки", "I1nom", Units::Current, 1, 2, 0},
    {"Напряжение х.х. II-ой обмотки", "U2xx", Units::Voltage, 22, 2, 0},
    {"Ток х.х. I-ой обмотки", "I1xx", Units::Current, 0.05, 2, 0},
    {"Номинальная мощность потерь х.х.", "Pxx", Units::Power, 5, 1, 0},
    {"Номинальная мощность потерь к.з.", "Pkz", Units::Power, 5, 1, 0},
    {"Ном. напряжение I-ой обмотки к.з.", "U1kz", Units::Voltage, 20, 2, 0},
    {"Номинальная частота", "fnom", Units::AngularFrequency, 314.159, 1, 0},
    {"Расчетная частота", "f", Units::AngularFrequency, 314.159, 1, 0},
    {"Степень зависимости магнитных потерь от частоты", "alfa", nullptr, 2, 0, 0},
    {},
};

const ParamDef ModelParams[] = {
    {"Коэффициент трансформации", "ktr", nullptr, 10, 0, AllMethods},
    {"Акт. сопротивление контура намагничивания", "rm", Units::Resistance, 30, 0, AllMethods},
    {"Индуктивность намагничивания", "Lm", Units::Inductance, 7, 1, AllMethods},
    {"Акт. сопротивление I-ой обмотки", "r1", Units::Resistance, 30, 0, AllMethods},
    {"Акт. сопротивление II-ой обмотки", "r2", Units::Resistance, 0.3, 0, AllMethods},
    {"Индуктивность рассеяния I-ой обмотки", "Ls1", Units::Inductance, 7, 1, AllMethods},
    {"Индуктивность рассеяния II-ой обмотки", "Ls2", Units::Inductance, 7, 1, AllMethods},
    {},
};

const char* const Methods[] = {"Линейный с учетом потерь и рассеяния", nullptr};

using T = TTransformator;

const TBranchRecord Branches[] = {
    {PinTerminal("z1"), PinTerminal("z2"), StepValue(&MemberGetter<T, &T::Conductance1>),
     AffineValue(&MemberGetter<T, &T::Emf1>, &MemberSlopes<T, &T::Emf1Slopes>), ConstValue(0)},
    {PinTerminal("out"), PinTerminal("in"), StepValue(&MemberGetter<T, &T::Conductance2>),
     AffineValue(&MemberGetter<T, &T::Emf2>, &MemberSlopes<T, &T::Emf2Slopes>), ConstValue(0)},
    EndRecord(),
};

void Inconsistent(const std::string& why) {
    Msg().Error("Паспортные данные трансформатора несовместимы: " + why, ApplicationTitle);
}

} // namespace

TTransformator::TTransformator(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
}

void TTransformator::Loaded() {
    TBaseElement::Loaded();
    pins_[0] = FindConnector("z1");
    pins_[1] = FindConnector("z2");
    pins_[2] = FindConnector("out");
    pins_[3] = FindConnector("in");
}

const TBranchRecord* TTransformator::GetCircuitModel() const {
    return Branches;
}

// The open-circuit test gives the magnetising branch (r1 and Ls1 neglected
// beside it), the short-circuit test the two windings in series (the
// magnetising branch neglected beside them), both halves equal when
// referred. fnom and f are stored as angular frequencies, so a reactance
// divided by fnom is an inductance.
bool TTransformator::CalcModelParams() {
    if (MethodIndex != 0) return true;
    const double U1 = ParamOf("U1nom"), I1 = ParamOf("I1nom"), U2xx = ParamOf("U2xx");
    const double I1xx = ParamOf("I1xx"), Pxx = ParamOf("Pxx"), Pkz = ParamOf("Pkz");
    const double U1kz = ParamOf("U1kz"), fnom = ParamOf("fnom"), f = ParamOf("f");
    const double alfa = ParamOf("alfa");
    for (double v : {U1, I1, U2xx, I1xx, Pkz, U1kz, fnom, f, alfa})
        if (!(v > 0)) return false;
    const double k = U1 / U2xx;
    const double rmNominal = Pxx / (I1xx * I1xx);
    const double z0 = U1 / I1xx;
    if (rmNominal > z0) {
        Inconsistent("потери х.х. Pxx больше, чем U1nom·I1xx.");
        return false;
    }
    const double r = Pkz / (2 * I1 * I1);
    const double zk = U1kz / I1;
    if (2 * r > zk) {
        Inconsistent("потери к.з. Pkz больше, чем U1kz·I1nom.");
        return false;
    }
    auto set = [this](const char* name, double value) {
        if (ParamValue* v = FindParam(name)) v->Value = value;
    };
    set("ktr", k);
    // The core loss grows with the frequency as (f/fnom)^alfa.
    set("rm", rmNominal * std::pow(f / fnom, alfa));
    set("Lm", std::sqrt(z0 * z0 - rmNominal * rmNominal) / fnom);
    set("r1", r);
    set("r2", r / (k * k));
    const double ls = std::sqrt(zk * zk - 4 * r * r) / (2 * fnom);
    set("Ls1", ls);
    set("Ls2", ls / (k * k));
    return true;
}

bool TTransformator::CheckBeforeRun() {
    // Ls1, Ls2 and rm may be 0: the step divides by neither.
    return RequirePositive("ktr") && RequirePositive("Lm") && RequirePositive("r1") &&
           RequirePositive("r2") && Windings::RequireModelMethod(*this);
}

void TTransformator::ResetState() {
    if (MethodIndex != 0) return;
    ktr = ParamOf("ktr");
    Lm = ParamOf("Lm");
    Ls1 = ParamOf("Ls1");
    Ls2 = ParamOf("Ls2");
    rm = ParamOf("rm");
    r1 = ParamOf("r1");
    r2 = ParamOf("r2");
    i1 = i2 = t0 = Memory1 = Memory2 = 0;
    h = Sheet().RunSettings.h;
    P = Ls1 / h + r1;
    Q = -ktr * (Ls2 / h + r2);
    R = (Ls1 + rm * h + Lm + r1 * h) / Lm;
    S = (rm * h / Lm + 1) / ktr;
    D = P * S - R * Q;
    T = (Lm * S - Q * h) / Lm;
    G1 = T / D;
    G2 = ktr * R / D;
    PR = P / R;
    QS = Q / S;
    InvKtr = 1 / ktr;
    InvH = 1 / h;
    g2 = ktr * Ls2 / h;
}

void TTransformator::Step(double t, double u1, double u2) {
    i1 = (u1 + Emf1At(u2)) * G1;
    i2 = (u2 + Emf2At(u1)) * G2;
    const double a1 = Ls1 * InvH, f1 = Ls1 / Lm + 1;
    Memory1 = ((a1 - f1 * QS) * i1 - (g2 + QS * InvKtr) * i2) * S / T;
    Memory2 = -i1 * (a1 - f1 * PR) + i2 * (g2 + PR * InvKtr);
    t0 = t;
}

double TTransformator::U1() const {
    return DcMachine::Voltage(pins_[0], pins_[1]);
}

double TTransformator::U2() const {
    return DcMachine::Voltage(pins_[2], pins_[3]);
}

void TTransformator::Update() {
    const double t = Sheet().Run().Time;
    if (t <= t0) return;
    Step(t, U1(), U2());
}

double TTransformator::Emf1() {
    return Emf1At(U2());
}

double TTransformator::Emf2() {
    return Emf2At(U1());
}

int TTransformator::Emf1Slopes(TNodeSlope* out) {
    return Windings::PutVoltageSlope(Windings::PinNode(pins_[2]), Windings::PinNode(pins_[3]),
                                     Emf1Slope(), out, 0);
}

int TTransformator::Emf2Slopes(TNodeSlope* out) {
    return Windings::PutVoltageSlope(Windings::PinNode(pins_[0]), Windings::PinNode(pins_[1]),
                                     Emf2Slope(), out, 0);
}

REGISTER_ELEMENT(TTransformator, TBaseElement);
