#pragma once

#include <array>

#include "elements/machines/LoadTorque.h"
#include "params/ParamDef.h"

class TBaseElement;

// Phase-coordinate model of the three-phase induction machines: three
// star-connected stator windings, three rotor windings, one pole pair.
namespace Induction {

extern const UnitDef ThreePhaseOutput[]; // vv of TAtd and TAtdpet
// The six load-torque models, the last name with its trailing blank.
extern const char* const Methods[];
extern const ParamDef ThreePhaseRefParams[];
extern const ParamDef ThreePhaseModelParams[];

// Refuses, naming element and parameter, what would divide by zero or
// make the machine unphysical: Jd, Rc, Lc, Rp, Lp, M not above zero, an
// output or load model outside its list.
bool CheckThreePhase(const TBaseElement& e);

// The backward-Euler step of the machine in flux form. The stator windings
// are branches star point → pin. The engine's branch law makes the current
// from the star point to the pin g·(E − u) − J with u = V(pin) − V(star);
// the machine's own stator current flows the other way, into the pin, so
// the branch presents E = −c/dt (not +c/dt): then the circuit sees
// i = G·(u + c/dt) + J, the stator current of the flux equations.
struct TThreePhase {
    double Rc = 0, Lc = 0, Rp = 0, Lp = 0, M = 0, J = 0;
    double t0 = 0, dt = 0;
    double Theta = 0, W = 0, W0 = 0, Te = 0, Ml = 0, Dynamic = 0;
    std::array<double, 3> Us{}, Ur{}, Is{}, Ir{};
    // Flux linkages: stator a, b, c, rotor a, b, c.
    std::array<double, 6> Psi{}, PsiPrev{};
    // Branch values: the stator windings a, b, c, then (when the rotor is
    // brought out) the rotor windings a, b, c.
    std::array<double, 6> G{}, E{}, Jsrc{};
    bool WoundRotor = false;

    void Reset(const TBaseElement& e);
    // The stator conductance of a step of length h at the present angle, set
    // before the run: the engine differences the Jacobian at time 0, where
    // no step has run yet, and keeps it while the conductance stays.
    void Preset(double h);
    // Advances the machine to time t with the stator voltages us and the
    // rotor voltages ur of the last solution (zero for a closed cage).
    void Step(double t, const std::array<double, 3>& us, const std::array<double, 3>& ur,
              LoadTorque::TModel& load);
    // The stator system of a step of length dt after the rotor currents are
    // eliminated: the circulant rotor inverse (diagonal, off-diagonal), the
    // coupling coefficients x_k and the circulant stator inverse (diagonal,
    // next phase, phase after it).
    struct TStator {
        double RotorInv[2] = {}, X[3] = {};
        double Inv0 = 0, InvNext = 0, InvPrev = 0;
    };
    TStator Stator(double dt) const;
    // The same machine seen from the rotor: windings swapped, angle negated
    // (the rotor-to-stator coupling is the transpose of the stator-to-rotor).
    TThreePhase Mirrored() const;
    // The output chosen by vv.
    double Output(int choice) const;
};

// Holds a value away from zero: a magnitude below `limit` becomes ±limit
// with the value's sign, 0 counting as positive.
double AwayFromZero(double v, double limit);

} // namespace Induction
