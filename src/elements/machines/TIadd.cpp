#include "elements/machines/TIadd.h"

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/machines/DcArmature.h"
#include "elements/machines/InductionMachine.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const UnitDef TwoPhaseOutput[] = {
    {"w,рад/с ", 0},         {"n,об/мин", 0},         {"n,об/с", 0},
    {"М вращ.,H м  ", 0},    {"M сопр.,Н м", 0},      {"М дин.,Н м", 0},
    {"Ток рот.обм.l, А", 0}, {"Ток рот.обм.v, А", 0}, {}};

const ParamDef RefParams[] = {
    {"Выходная величина", "vv", TwoPhaseOutput, 0, 0, 0},
    {"Момент инерции", "Jd", Units::Inertia, 5e-05, 0, 0},
    {"Сопротивление обмотки a", "Ra", Units::Resistance, 1, 0, 0},
    {"Индуктивность обмотки a", "La", Units::Inductance, 0.2, 1, 0},
    {"Сопротивление обмотки b", "Rb", Units::Resistance, 1, 0, 0},
    {"Индуктивность обмотки b", "Lb", Units::Inductance, 0.2, 1, 0},
    {"Сопротивление обмотки l", "Rl", Units::Resistance, 50, 0, 0},
    {"Индуктивность обмотки l", "Ll", Units::Inductance, 0.06, 1, 0},
    {"Сопротивление обмотки v", "Rv", Units::Resistance, 50, 0, 0},
    {"Индуктивность обмотки v", "Lv", Units::Inductance, 0.06, 1, 0},
    {"Макс. взаимная индукт.", "M", Units::Inductance, 0.1, 1, 0},
    {},
};

using T = TIadd;

// Winding a is the branch Connector2 → Connector1 with u_a = V(2) − V(1):
// the branch law's current g·(E − u) − J from terminal 1 to terminal 2,
// u = V(1) − V(2) = −u_a, is G_a·(E_a + u_a), the winding current i_a
// entering at Connector2. Winding b likewise.
const TBranchRecord Branches[] = {
    {PinTerminal("Connector2"), PinTerminal("Connector1"),
     StepValue(&MemberGetter<T, &T::ConductanceA>), StepValue(&MemberGetter<T, &T::EmfA>),
     ConstValue(0)},
    {PinTerminal("Connector4"), PinTerminal("Connector3"),
     StepValue(&MemberGetter<T, &T::ConductanceB>), StepValue(&MemberGetter<T, &T::EmfB>),
     ConstValue(0)},
    EndRecord(),
};

double Signed(double v, double limit, double replacement) {
    if (std::abs(v) >= limit) return v;
    return v < 0 ? -replacement : replacement;
}

} // namespace

TIadd::TIadd(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = Induction::ThreePhaseModelParams;
    ModelMethods = Induction::Methods;
    DbSection = "Iadds";
}

void TIadd::Loaded() {
    TProducer::Loaded();
    pins_[0] = FindConnector("Connector1");
    pins_[1] = FindConnector("Connector2");
    pins_[2] = FindConnector("Connector3");
    pins_[3] = FindConnector("Connector4");
}

const TBranchRecord* TIadd::GetCircuitModel() const {
    return Branches;
}

bool TIadd::CheckBeforeRun() {
    for (const char* name : {"Jd", "Ra", "La", "Rb", "Lb", "Rl", "Ll", "Rv", "Lv", "M"})
        if (!RequirePositive(name)) return false;
    return DcMachine::RequireOption(*this, "vv") && DcMachine::RequireMethod(*this);
}

void TIadd::ResetState() {
    const ParamValue* vv = FindParam("vv");
    Choice = vv ? vv->Unit : 0;
    Ra = ParamOf("Ra");
    La = ParamOf("La");
    Rb = ParamOf("Rb");
    Lb = ParamOf("Lb");
    Rv = ParamOf("Rv");
    Lv = ParamOf("Lv");
    Rl = ParamOf("Rl");
    Ll = ParamOf("Ll");
    M = ParamOf("M");
    J = ParamOf("Jd");
    Load.Reset(*this, MethodIndex, false, ParamOf("Wnom"), false);
    Ml = Load.Mc;
    t0 = dt = Theta = W = W0 = Te = Dynamic = 0;
    Ua = Ub = Ia = Ib = Il = Iv = 0;
    PsiA = PsiB = PsiL = PsiV = PsiA0 = PsiB0 = PsiL0 = PsiV0 = 0;
    // The engine differences the Jacobian at time 0, before the first step,
    // and keeps it: the conductances are set to those of a step of the run.
    const double h = Sheet().RunSettings.h;
    const TReduced r = Reduced(h);
    Ga = h * r.A22 / r.det;
    Gb = h * r.A11 / r.det;
    Ea = Eb = 0;
}

TIadd::TReduced TIadd::Reduced(double step) const {
    const double s = std::sin(Theta), c = std::cos(Theta);
    const double al = Rl * step + Ll, av = Rv * step + Lv;
    TReduced r;
    r.A11 = Ra * step + La - M * M * c * c / al - M * M * s * s / av;
    r.A12 = M * M * s * c / av - M * M * s * c / al;
    r.A22 = Rb * step + Lb - M * M * s * s / al - M * M * c * c / av;
    r.det = Signed(r.A11 * r.A22 - r.A12 * r.A12, 1e-20, 1e-20);
    return r;
}

void TIadd::Step(double t, double ua, double ub) {
    dt = t - t0;
    Ml = Load.Step(t, W0, dt);
    Ua = ua;
    Ub = ub;
    const double s = std::sin(Theta), c = std::cos(Theta);
    const double al = Rl * dt + Ll, av = Rv * dt + Lv;
    TReduced r = Reduced(dt);
    const double A21 = r.A12;
    const double ca = PsiA0 - M * c * PsiL0 / al + M * s * PsiV0 / av;
    const double cb = PsiB0 - M * s * PsiL0 / al - M * c * PsiV0 / av;
    const double ba = ua * dt + ca, bb = ub * dt + cb;
    Ia = (ba * r.A22 - bb * r.A12) / r.det;
    Ib = (r.A11 * bb - A21 * ba) / r.det;
    r.A22 = Signed(r.A22, 1e-20, 1e-20);
    r.A11 = Signed(r.A11, 1e-10, 1e-20);
    Ga = dt * r.A22 / r.det;
    Ea = ca / dt - (r.A12 / r.A22) * (ub + cb / dt);
    Gb = dt * r.A11 / r.det;
    Eb = cb / dt - (A21 / r.A11) * (ua + ca / dt);
    Il = (PsiL0 - M * c * Ia - M * s * Ib) / al;
    Iv = (PsiV0 + M * s * Ia - M * c * Ib) / av;
    PsiA = La * Ia + M * c * Il - M * s * Iv;
    PsiB = Lb * Ib + M * s * Il + M * c * Iv;
    PsiL = Ll * Il + M * c * Ia + M * s * Ib;
    PsiV = Lv * Iv - M * s * Ia + M * c * Ib;
    Te = PsiV * Il - PsiL * Iv;
    W = W0 + (Te - Ml) * dt / J;
    Dynamic = (W - W0) * J / dt;
    Theta += W * dt;
    PsiA0 = PsiA;
    PsiB0 = PsiB;
    PsiL0 = PsiL;
    PsiV0 = PsiV;
    t0 = t;
    W0 = W;
}

void TIadd::Update() {
    const double t = Sheet().Run().Time;
    if (t <= t0) return;
    Step(t, DcMachine::Voltage(pins_[1], pins_[0]), DcMachine::Voltage(pins_[3], pins_[2]));
}

double TIadd::ConductanceA() {
    return Ga;
}

double TIadd::EmfA() {
    return Ea;
}

double TIadd::ConductanceB() {
    return Gb;
}

double TIadd::EmfB() {
    return Eb;
}

double TIadd::Output() {
    switch (Choice) {
    case 0:
        return W;
    case 1:
        return W * DcMachine::PerTurn * 60;
    case 2:
        return W * DcMachine::PerTurn;
    case 3:
        return Te;
    case 4:
        return Ml;
    case 5:
        return Dynamic;
    case 6:
        return Il;
    case 7:
        return Iv;
    default:
        // A damaged choice reports nothing rather than a wrong quantity.
        return 0.0;
    }
}

TValue TIadd::GetOutput() {
    return TValue::OncePerStep(this, &MemberGetter<TIadd, &TIadd::Output>);
}

REGISTER_ELEMENT(TIadd, TProducer);
