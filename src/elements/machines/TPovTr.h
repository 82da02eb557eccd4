#pragma once

#include "blocks/Families.h"
#include "elements/machines/Windings.h"

class TConnector;

// Rotary transformer (resolver): excitation winding a and compensation
// winding b on the stator, cosine winding l and sine winding v on the rotor,
// the rotor angle θ taken from the signal input once a step. Each winding is
// a branch "from" → "to" with u = V(from) − V(to); the engine's branch
// current g·(E + u) is the current entering the winding at its "from" pin,
// the current the flux equations integrate.
class TPovTr : public TConsumer {
public:
    explicit TPovTr(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    bool CheckBeforeRun() override;
    void Loaded() override;
    // The angle is read from the last solved step.
    bool ReadsInputEveryStep() const override { return true; }

    // Windings a, b, l, v (0–3). BeginStep ends the last step; the
    // conductances stay for the step, the EMFs follow the present voltages
    // of the other windings.
    template <int W> double Conductance() {
        return Coupled.G(W);
    }
    template <int W> double Emf() {
        return Coupled.E(W, Windings::Evaluation(*this), [this](double (&u)[4]) { Voltages(u); });
    }
    template <int W> int EmfSlopes(TNodeSlope* out) {
        int from[4], to[4];
        for (int k = 0; k < 4; ++k) {
            from[k] = Windings::PinNode(pins_[2 * k]);
            to[k] = Windings::PinNode(pins_[2 * k + 1]);
        }
        return Coupled.Slopes(W, from, to, 1.0, out);
    }
    // The winding voltages a, b, l, v at the present potentials.
    void Voltages(double (&u)[4]) const;
    // The inductance matrix at the angle theta.
    void Inductances(double theta, double (&L)[4][4]) const;

    double Ra = 0, La = 0, Rb = 0, Lb = 0, Rl = 0, Ll = 0, Rv = 0, Lv = 0, M = 0;
    double t0 = 0, Theta = 0;
    Windings::TCoupled<4> Coupled;

private:
    void Update();

    TConnector* pins_[8] = {};
};
