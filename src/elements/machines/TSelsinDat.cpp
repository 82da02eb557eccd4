#include "elements/machines/TSelsinDat.h"

#include "Simulation/SimModel.h"
#include "elements/machines/DcArmature.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"

void TSelsynTerminals::Find(TBaseElement& e) {
    const char* names[5] = {"Connector_a", "Connector_b", "Connector_c", "Connector_A2",
                            "Connector_A1"};
    for (int k = 0; k < 5; ++k)
        Pins[k] = e.FindConnector(names[k]);
}

void TSelsynTerminals::Learn(const TBaseElement& e) {
    Nodes[0] = Windings::PinNode(Pins[3]);
    Nodes[1] = Windings::PinNode(Pins[4]);
    for (int k = 0; k < 3; ++k)
        Nodes[2 + k] = Windings::PinNode(Pins[k]);
    Nodes[5] = e.FNodeBase;
    Model = &e.Sheet().Run();
}

std::uint64_t TSelsynTerminals::Evaluation() const {
    return Model ? Model->Evaluation : 0;
}

double TSelsynTerminals::Voltages(double (&u)[3]) const {
    if (!Model) return u[0] = u[1] = u[2] = 0.0;
    const double star = Model->Potential(Nodes[5]);
    for (int k = 0; k < 3; ++k)
        u[k] = Model->Potential(Nodes[2 + k]) - star;
    return Model->Potential(Nodes[0]) - Model->Potential(Nodes[1]);
}

TSelsinDat::TSelsinDat(Schematic& sheet) : TConsumer(sheet) {
    RefParamDefs = Selsyn::WindingParams;
    DbSection = "SelsinDats";
}

void TSelsinDat::Loaded() {
    TConsumer::Loaded();
    terminals_.Find(*this);
}

const TBranchRecord* TSelsinDat::GetCircuitModel() const {
    return SelsynBranches<TSelsinDat>::Table;
}

bool TSelsinDat::CheckBeforeRun() {
    return Selsyn::CheckWindings(*this);
}

void TSelsinDat::ResetState() {
    terminals_.Forget();
    Windings.Reset(*this);
    t0 = Theta = 0;
    // The first step runs before any input is solved: at the angle 0.
    Windings.Begin(Sheet().RunSettings.h, offset_);
}

void TSelsinDat::BeginStep() {
    if (!terminals_.Model) terminals_.Learn(*this);
    Update();
}

void TSelsinDat::Update() {
    const TSimModel& m = Sheet().Run();
    if (m.Time <= t0) return;
    double u[3];
    const double ue = Voltages(u);
    Windings.Finish(ue, u);
    Theta = LastInput();
    Windings.Begin(m.h, Theta + offset_);
    t0 = m.Time;
}

TSelsinResTrans::TSelsinResTrans(Schematic& sheet) : TSelsinDat(sheet) {
    DbSection = "SelsinResTranss";
    offset_ = 1.5707963267948966;
}

REGISTER_ELEMENT(TSelsinDat, TConsumer);
REGISTER_ELEMENT(TSelsinResTrans, TConsumer);
