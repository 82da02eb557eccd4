#pragma once

#include "blocks/Families.h"
#include "elements/machines/DcArmature.h"

class TConnector;

// DC motor with permanent magnets and its shaft load; the output is a shaft
// quantity chosen by vv.
class TMotor : public TProducer {
public:
    explicit TMotor(Schematic& sheet);
    TValue GetOutput() override;
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    // Live values, of the step BeginStep began.
    double Conductance();
    double Emf();
    double Output();

    double OmegaN = 0;
    double KPhi = 0;
    int Choice = 0;
    DcMachine::TArmature Arm;
    LoadTorque::TModel Load;

private:
    void Update();

    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
};
