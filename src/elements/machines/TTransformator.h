#pragma once

#include "Simulation/TValue.h"
#include "model/TBaseElement.h"

class TConnector;

// Two-winding transformer with core loss and leakage: the T-circuit of r1,
// Ls1 on the primary, r2, Ls2 on the secondary and the magnetising branch
// rm + Lm carrying i1 + i2/ktr. Windings and their voltage order as in
// TTransformer: the primary z1 → z2, the secondary out → in, u = V(from) −
// V(to), the branch current g·(E + u) entering at z1 (out); the state
// advances once a step and each E follows the other winding's present
// voltage, for the reason TTransformer gives.
class TTransformator : public TBaseElement {
public:
    explicit TTransformator(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CalcModelParams() override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    double Conductance1() { return G1; }
    double Emf1();
    double Conductance2() { return G2; }
    double Emf2();
    // Their slopes to the potentials of the other winding.
    int Emf1Slopes(TNodeSlope* out);
    int Emf2Slopes(TNodeSlope* out);

    double Emf1At(double u2) const { return Memory1 - ktr * u2 * S / T; }
    double Emf2At(double u1) const { return (u1 * (PR * h / Lm - 1) + Memory2) * InvKtr; }
    double Emf1Slope() const { return -ktr * S / T; }
    double Emf2Slope() const { return (PR * h / Lm - 1) * InvKtr; }
    // Ends the step whose solution gave u1, u2.
    void Step(double t, double u1, double u2);

    double ktr = 0, Lm = 0, Ls1 = 0, Ls2 = 0, rm = 0, r1 = 0, r2 = 0;
    double P = 0, Q = 0, R = 0, S = 0, D = 0, T = 0, G1 = 0, G2 = 0;
    double PR = 0, QS = 0, InvKtr = 0, InvH = 0, g2 = 0, h = 0;
    double Memory1 = 0, Memory2 = 0, i1 = 0, i2 = 0, t0 = 0;

private:
    void Update();
    double U1() const;
    double U2() const;

    TConnector* pins_[4] = {};
};
