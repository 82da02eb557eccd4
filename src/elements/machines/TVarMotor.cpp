#include "elements/machines/TVarMotor.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

using namespace LoadTorque;

const ParamDef RefParams[] = {
    {"Номинальная частота", "Nn", DcMachine::RevPerMinute, 1500, 0, 0},
    {"Номинальное напр.якоря", "Uan", Units::Voltage, 220, 2, 0},
    {"Номинальный ток якоря", "Ian", Units::Current, 1, 2, 0},
    {"Активное сопротивление якоря", "Ra", Units::Resistance, 1.35, 0, 0},
    {"Индуктивность якоря", "La", Units::Inductance, 0.0064, 1, 0},
    {"Номинальное напр.возбуждения", "Ubn", Units::Voltage, 220, 2, 0},
    {"Активное сопр.обмотки возбужд.", "Rb", Units::Resistance, 1.35, 0, 0},
    {"Индуктивность цепи возбуждения", "Lb", Units::Inductance, 0.0064, 1, 0},
    {"Момент инерции", "Jd", Units::Inertia, 3e-05, 0, 0},
    {"Выходная величина", "vv", DcMachine::FieldMotorOutput, 0, 0, 0},
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
    {},
};

using V = TVarMotor;

const TBranchRecord Branches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"),
     StepValue(&MemberGetter<V, &V::Conductance>), StepValue(&MemberGetter<V, &V::Emf>),
     ConstValue(0)},
    {PinTerminal("Connector3"), PinTerminal("Connector4"),
     StepValue(&MemberGetter<V, &V::FieldConductance>), StepValue(&MemberGetter<V, &V::FieldEmf>),
     ConstValue(0)},
    EndRecord(),
};

} // namespace

TVarMotor::TVarMotor(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = MethodsWithRising;
    DbSection = "VarMotors";
}

void TVarMotor::Loaded() {
    TProducer::Loaded();
    c1_ = FindConnector("Connector1");
    c2_ = FindConnector("Connector2");
    c3_ = FindConnector("Connector3");
    c4_ = FindConnector("Connector4");
}

const TBranchRecord* TVarMotor::GetCircuitModel() const {
    return Branches;
}

bool TVarMotor::CheckBeforeRun() {
    return RequirePositive("Jd") && RequirePositive("Ra") && RequirePositive("La") &&
           RequirePositive("Nn") && RequirePositive("Rb") && RequirePositive("Lb") &&
           DcMachine::RequireOption(*this, "vv") && DcMachine::RequireMethod(*this);
}

void TVarMotor::ResetState() {
    OmegaN = DcMachine::NominalOmega(ParamOf("Nn"));
    Rb = ParamOf("Rb");
    Lb = ParamOf("Lb");
    C = (ParamOf("Uan") - ParamOf("Ra") * ParamOf("Ian")) / ((ParamOf("Ubn") / Rb) * OmegaN);
    const ParamValue* vv = FindParam("vv");
    Choice = vv ? vv->Unit : 0;
    tf = iF = iF0 = Gf = Ef = 0;
    Arm.Reset(ParamOf("Ra"), ParamOf("La"), ParamOf("Jd"));
    Load.Reset(*this, MethodIndex, true, OmegaN, true);
    Arm.Ml = Load.Mc;
}

// The field winding "Connector3" → "Connector4": u_f = V(3) − V(4), so the
// branch current G_f·(E_f + u_f) is the field current of the step.
void TVarMotor::UpdateField() {
    const double t = Sheet().Run().Time;
    if (!(t > tf)) return;
    const double dtf = t - tf;
    const double uf = DcMachine::Voltage(c3_, c4_);
    Ef = Lb * iF0 / dtf;
    Gf = 1.0 / (Lb / dtf + Rb);
    iF = (uf + Ef) * Gf;
    tf = t;
    iF0 = iF;
}

void TVarMotor::Update() {
    UpdateField();
    const double t = Sheet().Run().Time;
    if (t > Arm.tm) Arm.Step(t, DcMachine::Voltage(c1_, c2_), C * iF, Load);
}

double TVarMotor::Conductance() {
    return Arm.G;
}

double TVarMotor::Emf() {
    return Arm.E;
}

double TVarMotor::FieldConductance() {
    return Gf;
}

double TVarMotor::FieldEmf() {
    return Ef;
}

double TVarMotor::Output() {
    return DcMachine::FieldMotorValue(Choice, Arm.Ml, C * iF * Arm.i, Arm.w);
}

TValue TVarMotor::GetOutput() {
    return TValue::OncePerStep(this, &MemberGetter<TVarMotor, &TVarMotor::Output>);
}

REGISTER_ELEMENT(TVarMotor, TProducer);
