#pragma once

#include "Simulation/TValue.h"
#include "model/TBaseElement.h"

class TConnector;

// Two-winding transformer without saturation and hysteresis: both windings
// on one magnetising inductance Lm, the secondary with the primary's
// resistance referred through ktr. The primary is the branch z1 → z2, the
// secondary out → in; each winding takes u = V(from) − V(to), and the
// engine's branch current g·(E + u) is the current entering the winding at
// z1 (out), the current its step integrates: both currents enter at the
// like-polarity ends, the flux is Lm·(i1 + i2/ktr).
// The currents and the flux memory advance once a step, from the last
// solution; each winding's E follows the other winding's present voltage.
// Taken from the last solution instead, that voltage lags by a step, and
// the no-load current, the small difference (u1 − ktr·u2)/(2·r1) of two
// nearly equal voltages, comes out a fifth too small at h = 1e-5.
class TTransformer : public TBaseElement {
public:
    explicit TTransformer(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CalcModelParams() override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;

    // Branch values. The EMFs follow the present potentials within a step.
    double Conductance1() { return G1; }
    double Emf1();
    double Conductance2() { return G2; }
    double Emf2();
    // Their slopes to the potentials of the other winding.
    int Emf1Slopes(TNodeSlope* out);
    int Emf2Slopes(TNodeSlope* out);

    // The EMFs of the windings at the winding voltages u1, u2.
    double Emf1At(double u2) const { return (k2 * u2 + Memory) / a; }
    double Emf2At(double u1) const { return (-Lm * u1 + Memory) / k1; }
    double Emf1Slope() const { return k2 / a; }
    double Emf2Slope() const { return -Lm / k1; }
    // Ends the step whose solution gave u1, u2: its currents, and the memory
    // of the next step.
    void Step(double t, double u1, double u2);

    double ktr = 0, Lm = 0, r1 = 0, r2 = 0;
    double a = 0, d = 0, G1 = 0, G2 = 0, k1 = 0, k2 = 0, k3 = 0, k4 = 0;
    double Memory = 0, i1 = 0, i2 = 0, t0 = 0;

private:
    void Update();
    double U1() const;
    double U2() const;

    TConnector* pins_[4] = {};
};
