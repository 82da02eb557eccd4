#include "elements/machines/TMotor.h"

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

using namespace LoadTorque;

const ParamDef RefParams[] = {
    {"Момент инерции", "Jd", Units::Inertia, 3e-05, 0, 0},
    {"Сопротивление якоря", "Ra", Units::Resistance, 1.35, 0, 0},
    {"Индуктивность якоря", "La", Units::Inductance, 0.0064, 1, 0},
    {"Номинальная частота", "Nn", DcMachine::RevPerMinute, 1500, 0, 0},
    {"Номинальное напр.якоря", "Uan", Units::Voltage, 220, 2, 0},
    {"Номинальный ток якоря", "Ian", Units::Current, 1, 2, 0},
    {"Выходная величина", "vv", DcMachine::MotorOutput, 0, 0, 0},
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
    InSum(MuShortRow, 6),
    MstRow,
    TstRow,
    {},
};

const TBranchRecord Branches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"),
     StepValue(&MemberGetter<TMotor, &TMotor::Conductance>),
     StepValue(&MemberGetter<TMotor, &TMotor::Emf>), ConstValue(0)},
    EndRecord(),
};

} // namespace

TMotor::TMotor(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = MethodsWithRising;
    DbSection = "Motors";
}

void TMotor::Loaded() {
    TProducer::Loaded();
    c1_ = FindConnector("Connector1");
    c2_ = FindConnector("Connector2");
}

const TBranchRecord* TMotor::GetCircuitModel() const {
    return Branches;
}

bool TMotor::CheckBeforeRun() {
    return RequirePositive("Jd") && RequirePositive("Ra") && RequirePositive("La") &&
           RequirePositive("Nn") && DcMachine::RequireOption(*this, "vv") &&
           DcMachine::RequireMethod(*this);
}

void TMotor::ResetState() {
    OmegaN = DcMachine::NominalOmega(ParamOf("Nn"));
    KPhi = (ParamOf("Uan") - ParamOf("Ra") * ParamOf("Ian")) / OmegaN;
    const ParamValue* vv = FindParam("vv");
    Choice = vv ? vv->Unit : 0;
    Arm.Reset(ParamOf("Ra"), ParamOf("La"), ParamOf("Jd"));
    Load.Reset(*this, MethodIndex, true, OmegaN, true);
    Arm.Ml = Load.Mc;
}

void TMotor::Update() {
    const double t = Sheet().Run().Time;
    if (t > Arm.tm) Arm.Step(t, DcMachine::Voltage(c1_, c2_), KPhi, Load);
}

double TMotor::Conductance() {
    return Arm.G;
}

double TMotor::Emf() {
    return Arm.E;
}

double TMotor::Output() {
    const double w = Arm.w;
    switch (Choice) {
    case 1:
        return w * 60 * DcMachine::PerTurn;
    case 2:
        return w * DcMachine::PerTurn;
    case 3:
        return KPhi * Arm.i;
    case 4:
        return Arm.Ml;
    case 5:
        return KPhi * Arm.i - Arm.Ml;
    default:
        return w;
    }
}

TValue TMotor::GetOutput() {
    return TValue::OncePerStep(this, &MemberGetter<TMotor, &TMotor::Output>);
}

REGISTER_ELEMENT(TMotor, TProducer);
