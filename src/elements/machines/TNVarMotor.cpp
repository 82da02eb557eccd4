#include "elements/machines/TNVarMotor.h"

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

using namespace LoadTorque;

const ParamDef RefParams[] = {
    {"Номинальная частота", "Nn", DcMachine::RevPerMinute, 3800, 0, 0},
    {"Кнас 1,4....1,8", "Knas", Units::Blank, 1.5, 0, 0},
    {"Номинальное напр.якоря", "Uan", Units::Voltage, 110, 2, 0},
    {"Номинальный ток якоря", "Ian", Units::Current, 0.9, 2, 0},
    {"Активное сопротивление якоря", "Ra", Units::Resistance, 15.2, 0, 0},
    {"Индуктивность якоря", "La", Units::Inductance, 0.09, 1, 0},
    {"Номинальное напр.возбуждения", "Ubn", Units::Voltage, 110, 2, 0},
    {"Активное сопр.обмотки возбужд.", "Rb", Units::Resistance, 1160, 0, 0},
    {"Индуктивность цепи возбуждения", "Lb", Units::Inductance, 24, 2, 0},
    {"Момент инерции", "Jd", Units::Inertia, 6.8e-05, 0, 0},
    {"Относительное уменьшение потока попер.", "SF", Units::Percent, 10, 0, 0},
    {"Относительное уменьшение потока прод.", "SFpr", Units::Percent, 0, 0, 0},
    {"Выходная величина", "vv", DcMachine::FieldMotorOutput, 0, 4, 0},
    {},
};

const ParamDef ModelParams[] = {
    InSum(McRow, 6),
    InSum(MgRow, 6),
    InSum(WRow, 6),
    InSum(RadRow, 6),
    InSum(MsRow, 6),
    InSum(MvRow, 6),
    InSum(LLLRow, 6),
    InSum(MuLongRow, 6),
    MstRow,
    TstRow,
    {"Магнитный поток ном.", "Fmnom", Units::Blank, 0, 0, Bit(0)},
    {"Потокосцепление ном.", "Fpnom", Units::Blank, 0, 0, Bit(0)},
    {"Пси номинальное возб.", "PsBnom", Units::Blank, 0, 0, Bit(0)},
    {"Пси AD номинальное(ib)", "PsiAdnom", Units::Blank, 0, 0, Bit(0)},
    {"Номинальный ток.возбуждения", "Ibn", Units::Current, 0, 1, Bit(0)},
    {"Коэффициент Км", "Km", Units::Blank, 15, 0, Bit(0)},
    {},
};

using N = TNVarMotor;

const TBranchRecord Branches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"),
     StepValue(&MemberGetter<N, &N::Conductance>), StepValue(&MemberGetter<N, &N::Emf>),
     ConstValue(0)},
    {PinTerminal("Connector3"), PinTerminal("Connector4"),
     StepValue(&MemberGetter<N, &N::FieldConductance>), StepValue(&MemberGetter<N, &N::FieldEmf>),
     ConstValue(0)},
    EndRecord(),
};

} // namespace

double MagnetisationPolynomial(double x) {
    return (1.376 + 0.056 * x + 0.0049 * x * x) / (1 - 0.05 * x + 0.016 * x * x);
}

bool NominalMagnetisation(double Knas, double& x) {
    const double b = std::tan(90 - 32.29 * Knas);
    auto f = [b](double v) { return v * MagnetisationPolynomial(v) - b * v; };
    double lo = 0, hi = 35;
    // f(0) is 0 for any b: the root sought is the one inside, so the curve
    // must start above the line and end below it.
    if (!(MagnetisationPolynomial(lo) > b && f(hi) < 0)) return false;
    for (int k = 0; k < 200; ++k) {
        x = (lo + hi) / 2;
        const double fx = f(x);
        if (std::abs(fx) <= 0.01) return true;
        if (fx > 0)
            lo = x;
        else
            hi = x;
    }
    return false;
}

TNVarMotor::TNVarMotor(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = MethodsWithRising;
    DbSection = "NVarMotors";
}

void TNVarMotor::Loaded() {
    TProducer::Loaded();
    c1_ = FindConnector("Connector1");
    c2_ = FindConnector("Connector2");
    c3_ = FindConnector("Connector3");
    c4_ = FindConnector("Connector4");
}

const TBranchRecord* TNVarMotor::GetCircuitModel() const {
    return Branches;
}

bool TNVarMotor::CalcModelParams() {
    const double knas = ParamOf("Knas");
    if (knas > 1.8 || knas < 1.1) return false;
    double x = 0;
    if (!NominalMagnetisation(knas, x)) return false;
    const double rb = ParamOf("Rb");
    const double nn = ParamOf("Nn");
    const double la = ParamOf("La");
    if (rb <= 0 || nn <= 0 || la <= 0) return false;
    auto set = [this](const char* name, double value) {
        if (ParamValue* v = FindParam(name)) v->Value = value;
    };
    const double ibn = ParamOf("Ubn") / rb;
    set("Fmnom", x * MagnetisationPolynomial(x));
    set("Fpnom", x);
    set("Ibn", ibn);
    set("PsBnom", ParamOf("Lb") * ibn);
    set("PsiAdnom", (ParamOf("Uan") - ParamOf("Ra") * ParamOf("Ian")) / nn);
    set("Km", (ParamOf("Ra") * ParamOf("Lb")) / (rb * la));
    return true;
}

bool TNVarMotor::CheckBeforeRun() {
    return RequirePositive("Jd") && RequirePositive("Ra") && RequirePositive("La") &&
           RequirePositive("Nn") && RequirePositive("Rb") && RequirePositive("Lb") &&
           RequirePositive("Ian") && RequirePositive("Ibn") && RequirePositive("Fmnom") &&
           RequirePositive("PsBnom") && DcMachine::RequireOption(*this, "vv") &&
           DcMachine::RequireMethod(*this);
}

void TNVarMotor::ResetState() {
    OmegaN = DcMachine::NominalOmega(ParamOf("Nn"));
    Rb = ParamOf("Rb");
    C = (ParamOf("Uan") - ParamOf("Ra") * ParamOf("Ian")) / ((ParamOf("Ubn") / Rb) * OmegaN);
    Ibn = ParamOf("Ibn");
    Ian = ParamOf("Ian");
    Fpnom = ParamOf("Fpnom");
    Fmnom = ParamOf("Fmnom");
    PsBnom = ParamOf("PsBnom");
    PsiAdnom = ParamOf("PsiAdnom");
    Sq = ParamOf("SF") * PsBnom * 0.01;
    SFpr = ParamOf("SFpr");
    Lf0 = MagnetisationPolynomial(0.001 * Ibn);
    Lf = Lf0;
    tf = iF = iF0 = Gf = Ef = 0;
    Psi = X = Phi = 0;
    KPhi = 1;
    const ParamValue* vv = FindParam("vv");
    Choice = vv ? vv->Unit : 0;
    Arm.Reset(ParamOf("Ra"), ParamOf("La"), ParamOf("Jd"));
    Load.Reset(*this, MethodIndex, true, OmegaN, true);
    Arm.Ml = Load.Mc;
}

// The field winding "Connector3" → "Connector4" in flux-linkage form:
// Ψ − Ψ0 = dt·(u_f − Rb·i_f) with the secant inductance of the last step.
void TNVarMotor::UpdateField() {
    const double t = Sheet().Run().Time;
    if (!(t > tf)) return;
    const double dtf = t - tf;
    const double psi0 = Psi;
    const double uf = DcMachine::Voltage(c3_, c4_);
    Ef = psi0 / dtf;
    Lf = std::abs(iF0 / Ibn) <= 0.001 * Ibn ? Lf0 : psi0 / iF0;
    Gf = 1.0 / (Lf / dtf + Rb);
    iF = (uf + Ef) * Gf;
    X = Fpnom * iF / Ibn;
    Phi = X * MagnetisationPolynomial(X);
    Psi = PsBnom * Phi / Fmnom;
    const double r = iF / Ibn;
    const double w = (r >= 0 && r <= 1) ? r : (r > 1 && r <= 2 ? 2 - r : 0.0);
    const double dq = std::abs(Arm.i) * Sq / Ian;
    const double dd = SFpr * PsBnom * 0.01 * Arm.i / Ian;
    Psi -= dq * w + dd;
    tf = t;
    iF0 = iF;
}

void TNVarMotor::Update() {
    UpdateField();
    const double t = Sheet().Run().Time;
    if (t > Arm.tm) {
        KPhi = PsiAdnom * Phi / PsBnom;
        Arm.Step(t, DcMachine::Voltage(c1_, c2_), KPhi, Load);
    }
}

double TNVarMotor::Conductance() {
    return Arm.G;
}

double TNVarMotor::Emf() {
    return Arm.E;
}

double TNVarMotor::FieldConductance() {
    return Gf;
}

double TNVarMotor::FieldEmf() {
    return Ef;
}

double TNVarMotor::Output() {
    // The torque that turns the shaft is the one the dynamics use.
    return DcMachine::FieldMotorValue(Choice, Arm.Ml, KPhi * Arm.i, Arm.w);
}

TValue TNVarMotor::GetOutput() {
    return TValue::OncePerStep(this, &MemberGetter<TNVarMotor, &TNVarMotor::Output>);
}

REGISTER_ELEMENT(TNVarMotor, TProducer);
