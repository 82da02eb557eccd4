#include "elements/machines/TMechanical.h"

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

using namespace LoadTorque;

const ParamDef RefParams[] = {
    {"Момент инерции", "Jd", Units::Inertia, 3e-05, 0, 0},
    {"Электромагнитный коэф", "Kem", DcMachine::VoltSecondPerRad, 0.037, 0, 0},
    {"Сопротивление якоря", "Ra", Units::Resistance, 1.35, 0, 0},
    {"Индуктивность якоря", "La", Units::Inductance, 0.0064, 1, 0},
    {"Коэф. передачи тахоген.", "Koef", DcMachine::VoltSecondPerRad, 1, 0, 0},
    {"Внутреннее сопр. тахоген.", "Rvn", Units::Resistance, 2000, 1, 0},
    {"Выходная величина", "vv", DcMachine::MechanicalOutput, 0, 0, 0},
    {},
};

const ParamDef ModelParams[] = {
    InSum(McRow, 5),   InSum(MgRow, 5), InSum(WRow, 5),   InSum(RadRow, 5),     InSum(MsRow, 5),
    InSum(WnomRow, 5), InSum(MvRow, 5), InSum(LLLRow, 5), InSum(MuShortRow, 5), {},
};

using M = TMechanical;

const TBranchRecord Branches[] = {
    {PinTerminal("Connector1"), PinTerminal("Connector2"),
     StepValue(&MemberGetter<M, &M::Conductance>), StepValue(&MemberGetter<M, &M::Emf>),
     ConstValue(0)},
    {PinTerminal("Connector4"), PinTerminal("Connector3"),
     StepValue(&MemberGetter<M, &M::TachoConductance>), StepValue(&MemberGetter<M, &M::TachoEmf>),
     ConstValue(0)},
    EndRecord(),
};

} // namespace

TMechanical::TMechanical(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
    DbSection = "Mechanicals";
}

void TMechanical::Loaded() {
    TBaseElement::Loaded();
    c1_ = FindConnector("Connector1");
    c2_ = FindConnector("Connector2");
}

const TBranchRecord* TMechanical::GetCircuitModel() const {
    return Branches;
}

bool TMechanical::CheckBeforeRun() {
    bool ok = RequirePositive("Jd") && RequirePositive("Ra") && RequirePositive("La") &&
              RequirePositive("Rvn") && DcMachine::RequireOption(*this, "vv") &&
              DcMachine::RequireMethod(*this);
    const LoadTorque::TKind kind = LoadTorque::KindOf(MethodIndex, false);
    if (ok && (kind == LoadTorque::TKind::Viscous || kind == LoadTorque::TKind::Sum))
        ok = RequirePositive("Wnom");
    return ok;
}

void TMechanical::ResetState() {
    KPhi = ParamOf("Kem");
    Koef = ParamOf("Koef");
    Rvn = ParamOf("Rvn");
    const ParamValue* vv = FindParam("vv");
    Choice = vv ? vv->Unit : 0;
    Arm.Reset(ParamOf("Ra"), ParamOf("La"), ParamOf("Jd"));
    Load.Reset(*this, MethodIndex, false, ParamOf("Wnom"), false);
    Arm.Ml = Load.Mc;
}

void TMechanical::Update() {
    const double t = Sheet().Run().Time;
    if (t > Arm.tm) Arm.Step(t, DcMachine::Voltage(c1_, c2_), KPhi, Load);
}

double TMechanical::Conductance() {
    return Arm.G;
}

double TMechanical::Emf() {
    return Arm.E;
}

double TMechanical::TachoEmf() {
    switch (Choice) {
    case 1:
        return Koef * Arm.w * 60 * DcMachine::PerTurn;
    case 2:
        return Koef * Arm.Ml;
    default:
        return Koef * Arm.w;
    }
}

REGISTER_ELEMENT(TMechanical, TBaseElement);
