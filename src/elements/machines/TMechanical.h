#pragma once

#include "elements/machines/DcArmature.h"
#include "model/TBaseElement.h"

class TConnector;

// Electromechanical block: a DC motor given by its electromagnetic
// coefficient, with a tachogenerator on its shaft whose EMF is the quantity
// chosen by vv.
class TMechanical : public TBaseElement {
public:
    explicit TMechanical(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    double Conductance();
    double Emf();
    double TachoConductance() { return 1.0 / Rvn; }
    double TachoEmf();

    double KPhi = 0;
    double Koef = 0;
    double Rvn = 1;
    int Choice = 0;
    DcMachine::TArmature Arm;
    LoadTorque::TModel Load;

private:
    void Update();

    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
};
