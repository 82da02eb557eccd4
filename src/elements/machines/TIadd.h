#pragma once

#include "blocks/Families.h"
#include "elements/machines/LoadTorque.h"

class TConnector;

// Two-phase asynchronous servo motor: stator windings a (excitation) and b
// (control) 90° apart, two short-circuited rotor windings l and v, one pole
// pair, the load-torque model on its shaft.
class TIadd : public TProducer {
public:
    explicit TIadd(Schematic& sheet);
    TValue GetOutput() override;
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    // Branch values and output, of the step BeginStep began.
    double ConductanceA();
    double EmfA();
    double ConductanceB();
    double EmfB();
    double Output();

    // The step at time t with the winding voltages of the last solution.
    void Step(double t, double ua, double ub);

    int Choice = 0;
    double Ra = 0, La = 0, Rb = 0, Lb = 0, Rl = 0, Ll = 0, Rv = 0, Lv = 0, M = 0, J = 0;
    double t0 = 0, dt = 0, Theta = 0, W = 0, W0 = 0, Ml = 0, Te = 0, Dynamic = 0;
    double Ua = 0, Ub = 0, Ia = 0, Ib = 0, Il = 0, Iv = 0;
    double PsiA = 0, PsiB = 0, PsiL = 0, PsiV = 0;
    double PsiA0 = 0, PsiB0 = 0, PsiL0 = 0, PsiV0 = 0;
    double Ga = 0, Ea = 0, Gb = 0, Eb = 0;
    LoadTorque::TModel Load;

private:
    struct TReduced {
        double A11, A12, A22, det;
    };
    TReduced Reduced(double dt) const;
    void Update();

    TConnector* pins_[4] = {};
};
