#include "elements/machines/TSelsinRes.h"

#include "Simulation/SimModel.h"
#include "elements/machines/DcArmature.h"
#include "elements/machines/InductionMachine.h"
#include "elements/machines/TSelsinDat.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"

TSelsinRes::TSelsinRes(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = Selsyn::ReceiverParams;
    ModelParamDefs = Induction::ThreePhaseModelParams;
    ModelMethods = Induction::Methods;
    DbSection = "SelsinRess";
}

void TSelsinRes::Loaded() {
    TProducer::Loaded();
    terminals_.Find(*this);
}

const TBranchRecord* TSelsinRes::GetCircuitModel() const {
    return SelsynBranches<TSelsinRes>::Table;
}

bool TSelsinRes::CheckBeforeRun() {
    return RequirePositive("Jd") && Selsyn::CheckWindings(*this) &&
           DcMachine::RequireOption(*this, "vv") && DcMachine::RequireMethod(*this);
}

void TSelsinRes::ResetState() {
    terminals_.Forget();
    const ParamValue* vv = FindParam("vv");
    Choice = vv ? vv->Unit : 0;
    Windings.Reset(*this);
    J = ParamOf("Jd");
    Load.Reset(*this, MethodIndex, false, ParamOf("Wnom"), false);
    Ml = Load.Mc;
    t0 = Theta = W = W0 = Te = Dynamic = 0;
    Windings.Begin(Sheet().RunSettings.h, 0.0);
}

void TSelsinRes::BeginStep() {
    if (!terminals_.Model) terminals_.Learn(*this);
    Update();
}

void TSelsinRes::Step(double t, double h, double ue, const double (&u)[3]) {
    Ml = Load.Step(t, W0, h);
    Windings.Finish(ue, u);
    Te = Windings.Torque(Theta);
    W = W0 + (Te - Ml) * h / J;
    Dynamic = (W - W0) * J / h;
    Theta += W * h;
    t0 = t;
    W0 = W;
    Windings.Begin(h, Theta);
}

void TSelsinRes::Update() {
    const TSimModel& m = Sheet().Run();
    if (m.Time <= t0) return;
    double u[3];
    const double ue = Voltages(u);
    Step(m.Time, m.h, ue, u);
}

double TSelsinRes::Output() {
    switch (Choice) {
    case 1:
        return W * 60 * DcMachine::PerTurn;
    case 2:
        return W * DcMachine::PerTurn;
    case 3:
        return Te;
    case 4:
        return Ml;
    case 5:
        return Dynamic;
    case 6:
        return Theta;
    default:
        return W;
    }
}

TValue TSelsinRes::GetOutput() {
    return TValue::OncePerStep(this, &MemberGetter<TSelsinRes, &TSelsinRes::Output>);
}

REGISTER_ELEMENT(TSelsinRes, TProducer);
