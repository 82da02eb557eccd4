#include "elements/machines/TTransformer.h"

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/machines/DcArmature.h"
#include "elements/machines/Windings.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Ном. напряжение I-ой обмотки", "U1nom", Units::Voltage, 220, 2, 0},
    {"Ном. ток I-ой обмотки", "I1nom", Units::Current, 1, 1, 0},
    {"Ном. напряжение II-ой обмотки", "U2nom", Units::Voltage, 20, 2, 0},
    {"Ном. ток II-ой обмотки", "I2nom", Units::Current, 8, 1, 0},
    {"Ток хол. хода I-ой обмотки", "I1hh", Units::Current, 0.1, 1, 0},
    {"Напряжение хол. хода II-ой обмотки", "U2hh", Units::Voltage, 22, 2, 0},
    {"Номинальная частота", "f", Units::AngularFrequency, 314, 1, 0},
    {},
};

const ParamDef ModelParams[] = {
    {"Коэффициент трансформации", "ktr", nullptr, 10, 0, AllMethods},
    {"Индуктивность намагничивания", "Lm", Units::Inductance, 7, 1, AllMethods},
    {"Акт. сопротивление I-ой обмотки", "r1", Units::Resistance, 30, 0, AllMethods},
    {"Акт. сопротивление II-ой обмотки", "r2", Units::Resistance, 0.3, 0, AllMethods},
    {},
};

const char* const Methods[] = {"Без насыщения и гистерезиса", nullptr};

using T = TTransformer;

const TBranchRecord Branches[] = {
    {PinTerminal("z1"), PinTerminal("z2"), StepValue(&MemberGetter<T, &T::Conductance1>),
     AffineValue(&MemberGetter<T, &T::Emf1>, &MemberSlopes<T, &T::Emf1Slopes>), ConstValue(0)},
    {PinTerminal("out"), PinTerminal("in"), StepValue(&MemberGetter<T, &T::Conductance2>),
     AffineValue(&MemberGetter<T, &T::Emf2>, &MemberSlopes<T, &T::Emf2Slopes>), ConstValue(0)},
    EndRecord(),
};

} // namespace

TTransformer::TTransformer(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
}

void TTransformer::Loaded() {
    TBaseElement::Loaded();
    pins_[0] = FindConnector("z1");
    pins_[1] = FindConnector("z2");
    pins_[2] = FindConnector("out");
    pins_[3] = FindConnector("in");
}

const TBranchRecord* TTransformer::GetCircuitModel() const {
    return Branches;
}

bool TTransformer::CalcModelParams() {
    if (MethodIndex != 0) return true;
    const double U1 = ParamOf("U1nom"), U2 = ParamOf("U2nom"), U2hh = ParamOf("U2hh");
    const double I1 = ParamOf("I1nom"), I2 = ParamOf("I2nom"), I1hh = ParamOf("I1hh");
    const double f = ParamOf("f");
    for (double v : {U1, U2, U2hh, I1, I2, I1hh, f})
        if (!(v > 0)) return false;
    auto set = [this](const char* name, double value) {
        if (ParamValue* v = FindParam(name)) v->Value = value;
    };
    const double k = U1 / U2hh;
    // The nameplate loss U1·I1 − U2·I2 shared equally by the two windings.
    const double r = (U1 * I1 - U2 * I2) / (2 * I1 * I1);
    set("ktr", k);
    set("Lm", U1 / (f * I1hh));
    set("r1", r);
    set("r2", r / (k * k));
    return true;
}

bool TTransformer::CheckBeforeRun() {
    // r2 does not enter the equations: the secondary uses r1 referred.
    return RequirePositive("ktr") && RequirePositive("Lm") && RequirePositive("r1") &&
           Windings::RequireModelMethod(*this);
}

void TTransformer::ResetState() {
    if (MethodIndex != 0) return;
    ktr = ParamOf("ktr");
    Lm = ParamOf("Lm");
    r1 = ParamOf("r1");
    r2 = ParamOf("r2");
    const double h = Sheet().RunSettings.h;
    // Backward Euler of h·u1 = (h·r1 + Lm)·i1 + Lm·i2' − Lm·(i1 + i2')_prev
    // and the same for the referred secondary (i2' = i2/ktr, u2' = ktr·u2):
    // the determinant is h·(2·Lm·r1 + h·r1²), the diagonal h·r1 + Lm.
    a = h * r1 + Lm;
    d = 2 * Lm * r1 + h * r1 * r1;
    G1 = a / d;
    G2 = ktr * ktr * G1;
    k1 = ktr * a;
    k2 = -ktr * Lm;
    k3 = Lm * r1;
    k4 = Lm * r1 / ktr;
    Memory = i1 = i2 = t0 = 0;
}

void TTransformer::Step(double t, double u1, double u2) {
    i1 = (u1 + Emf1At(u2)) * G1;
    i2 = (u2 + Emf2At(u1)) * G2;
    Memory = k3 * i1 + k4 * i2;
    t0 = t;
}

double TTransformer::U1() const {
    return DcMachine::Voltage(pins_[0], pins_[1]);
}

double TTransformer::U2() const {
    return DcMachine::Voltage(pins_[2], pins_[3]);
}

void TTransformer::Update() {
    const double t = Sheet().Run().Time;
    if (t <= t0) return;
    Step(t, U1(), U2());
}

double TTransformer::Emf1() {
    return Emf1At(U2());
}

double TTransformer::Emf2() {
    return Emf2At(U1());
}

int TTransformer::Emf1Slopes(TNodeSlope* out) {
    return Windings::PutVoltageSlope(Windings::PinNode(pins_[2]), Windings::PinNode(pins_[3]),
                                     Emf1Slope(), out, 0);
}

int TTransformer::Emf2Slopes(TNodeSlope* out) {
    return Windings::PutVoltageSlope(Windings::PinNode(pins_[0]), Windings::PinNode(pins_[1]),
                                     Emf2Slope(), out, 0);
}

REGISTER_ELEMENT(TTransformer, TBaseElement);
