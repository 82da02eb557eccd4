#include "elements/machines/TSelsinDat.h"

#include "Simulation/SimModel.h"
#include "elements/machines/DcArmature.h"
#include "model/ClassRegistry.h"
#include "model/Schematic.h"
#include "model/TConnector.h"

void FindSelsynPins(TBaseElement& e, TConnector* (&pins)[5]) {
    const char* names[5] = {"Connector_a", "Connector_b", "Connector_c", "Connector_A2",
                            "Connector_A1"};
    for (int k = 0; k < 5; ++k)
        pins[k] = e.FindConnector(names[k]);
}

double SelsynVoltages(const TBaseElement& e, TConnector* const (&pins)[5], double (&u)[3]) {
    const double star = e.Sheet().SimModel().Potential(e.FNodeBase);
    for (int k = 0; k < 3; ++k)
        u[k] = (pins[k] ? pins[k]->GetPhi() : 0.0) - star;
    return DcMachine::Voltage(pins[3], pins[4]);
}

void SelsynNodes(const TBaseElement& e, TConnector* const (&pins)[5], int (&nodes)[6]) {
    nodes[0] = Windings::PinNode(pins[3]);
    nodes[1] = Windings::PinNode(pins[4]);
    for (int k = 0; k < 3; ++k)
        nodes[2 + k] = Windings::PinNode(pins[k]);
    nodes[5] = e.FNodeBase;
}

TSelsinDat::TSelsinDat(Schematic& sheet) : TConsumer(sheet) {
    RefParamDefs = Selsyn::WindingParams;
    DbSection = "SelsinDats";
}

void TSelsinDat::Loaded() {
    TConsumer::Loaded();
    FindSelsynPins(*this, pins_);
}

const TBranchRecord* TSelsinDat::GetCircuitModel() const {
    return SelsynBranches<TSelsinDat>::Table;
}

bool TSelsinDat::CheckBeforeRun() {
    return Selsyn::CheckWindings(*this);
}

void TSelsinDat::ResetState() {
    Windings.Reset(*this);
    t0 = Theta = 0;
    // The first step runs before any input is solved: at the angle 0.
    Windings.Begin(Sheet().SimModel().h, offset_);
}

double TSelsinDat::Voltages(double (&u)[3]) const {
    return SelsynVoltages(*this, pins_, u);
}

void TSelsinDat::Update() {
    const TSimModel& m = Sheet().SimModel();
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
