#pragma once

#include "blocks/Families.h"
#include "elements/machines/DcArmature.h"

class TConnector;

// Separately excited DC motor: armature and field winding; the torque
// constant is proportional to the field current.
class TVarMotor : public TProducer {
public:
    explicit TVarMotor(Schematic& sheet);
    TValue GetOutput() override;
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    double Conductance();
    double Emf();
    double FieldConductance();
    double FieldEmf();
    double Output();

    double OmegaN = 0;
    double C = 0;
    double Rb = 1, Lb = 0;
    double tf = 0, iF = 0, iF0 = 0, Gf = 0, Ef = 0;
    int Choice = 0;
    DcMachine::TArmature Arm;
    LoadTorque::TModel Load;

private:
    void UpdateField();
    void Update();

    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
    TConnector* c3_ = nullptr;
    TConnector* c4_ = nullptr;
};
