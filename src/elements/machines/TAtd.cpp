#include "elements/machines/TAtd.h"

#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"

namespace {

const TBranchRecord Branches[] = {
    TAtd::Winding<0>("Connector_A"),
    TAtd::Winding<1>("Connector_B"),
    TAtd::Winding<2>("Connector_C"),
    EndRecord(),
};

} // namespace

TAtd::TAtd(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = Induction::ThreePhaseRefParams;
    ModelParamDefs = Induction::ThreePhaseModelParams;
    ModelMethods = Induction::Methods;
    DbSection = "Atds";
}

void TAtd::Loaded() {
    TProducer::Loaded();
    pins_[0] = FindConnector("Connector_A");
    pins_[1] = FindConnector("Connector_B");
    pins_[2] = FindConnector("Connector_C");
    if (woundRotor_) {
        rotorPins_[0] = FindConnector("Connector_rA");
        rotorPins_[1] = FindConnector("Connector_rB");
        rotorPins_[2] = FindConnector("Connector_rC");
    }
}

const TBranchRecord* TAtd::GetCircuitModel() const {
    return Branches;
}

bool TAtd::CheckBeforeRun() {
    return Induction::CheckThreePhase(*this);
}

void TAtd::ResetState() {
    const ParamValue* vv = FindParam("vv");
    Choice = vv ? vv->Unit : 0;
    Machine.Reset(*this);
    Machine.WoundRotor = woundRotor_;
    Machine.Preset(Sheet().RunSettings.h);
    Load.Reset(*this, MethodIndex, false, ParamOf("Wnom"), false);
}

void TAtd::Update() {
    const TSimModel& m = Sheet().Run();
    if (m.Time <= Machine.t0) return;
    const double star = m.Potential(FNodeBase);
    std::array<double, 3> u, ur{};
    for (int k = 0; k < 3; ++k) {
        u[k] = (pins_[k] ? pins_[k]->GetPhi() : 0.0) - star;
        if (woundRotor_) ur[k] = (rotorPins_[k] ? rotorPins_[k]->GetPhi() : 0.0) - star;
    }
    Machine.Step(m.Time, u, ur, Load);
}

double TAtd::Output() {
    return Machine.Output(Choice);
}

TValue TAtd::GetOutput() {
    return TValue::OncePerStep(this, &MemberGetter<TAtd, &TAtd::Output>);
}

REGISTER_ELEMENT(TAtd, TProducer);
