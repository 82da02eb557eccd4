#pragma once

#include "elements/machines/Windings.h"
#include "Simulation/TValue.h"
#include "params/ParamDef.h"

class TBaseElement;

// The windings shared by the selsyns: an excitation winding e (Rc, Lc), the
// branch "Connector_A2" → "Connector_A1", and three windings a, b, c (Rp, Lp
// each, mutual M·cos 120° between them), star-connected as the branches
// internal node 0 → pin, coupled to e by M·cos(θ + φ_k), φ = 0, +120°,
// −120°.
namespace Selsyn {

extern const ParamDef WindingParams[];   // Rc, Lc, Rp, Lp, M
extern const ParamDef ReceiverParams[];  // vv, Jd, then the windings
extern const UnitDef ReceiverOutput[];   // vv of TSelsinRes

// Refuses, naming element and parameter, what the step divides by.
bool CheckWindings(const TBaseElement& e);

// The windings e, a, b, c as coupled windings (Windings::TCoupled), all
// couplings implicit.
//
// Branch law: the engine's current from terminal 1 to terminal 2 is
// g·(E − u) − J with u = φ(2) − φ(1). The excitation branch A2 → A1 takes
// u_e = V(A2) − V(A1) and carries g·(E + u_e), the winding current entering
// at A2, when it presents E = E_e. A phase branch node 0 → pin takes u_k =
// V(pin) − V(node 0); the winding's current i_k = G·(u_k + E_k) enters at
// the pin, so the branch, whose current runs from node 0 to the pin,
// presents E = −E_k: g·(−E_k − u_k) = −i_k.
struct TWindings {
    double Rc = 0, Lc = 0, Rp = 0, Lp = 0, M = 0;
    Windings::TCoupled<4> Coupled;

    void Reset(const TBaseElement& e);
    // Begins a step of length h at the coupling angle theta (the rotor
    // angle, plus π/2 in the transformer mode).
    void Begin(double h, double theta);
    // Ends the step whose solution gave the excitation voltage ue and the
    // phase voltages u.
    void Finish(double ue, const double (&u)[3]);
    double Conductance(int k) const { return Coupled.G(k); }
    // The branch EMF of winding k (0 excitation, 1–3 phases) at the present
    // voltages.
    double BranchEmf(int k, double ue, const double (&u)[3]) const;
    // The same within residual evaluation `evaluation`, the voltages read
    // once for all four windings by voltages(u) returning u_e.
    template <class Voltages> double BranchEmf(int k, std::uint64_t evaluation, Voltages&& voltages) {
        const double e = Coupled.E(k, evaluation, [&](double (&w)[4]) {
            double u[3];
            w[0] = voltages(u);
            w[1] = u[0];
            w[2] = u[1];
            w[3] = u[2];
        });
        return k == 0 ? e : -e;
    }
    // The slopes of BranchEmf(k) to the potentials, given the model nodes
    // of A2, A1, a, b, c and the star (-1 for none).
    int BranchEmfSlopes(int k, const int (&nodes)[6], TNodeSlope* out) const;
    // −M·i_e·Σ sin(θ + φ_k)·i_k with the currents of the last finished step.
    double Torque(double theta) const;
    double Current(int k) const { return Coupled.I[k]; }
};

} // namespace Selsyn
