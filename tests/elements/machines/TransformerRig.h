#pragma once

#include <complex>
#include <functional>
#include <utility>

class Schematic;
class TBaseElement;

// A two-winding transformer fed on its primary from a sine EMF through an
// ammeter, a resistor R on its secondary, and the independent reference:
// the phasor solution of its equivalent circuit.
namespace TransformerRig {

constexpr double Pi = 3.141592653589793;
constexpr double Omega50 = 2 * Pi * 50;
// 220 V rms.
constexpr double Amplitude = 311.12698372208092;
// The source's and the ammeter's internal resistances.
constexpr double SeriesR = 0.01 + 0.01;

// The T-circuit referred to the primary: r1 + jX1 in series with the
// magnetising branch rm + jXm, in parallel with r2' + jX2' + R'.
struct TCircuit {
    double r1 = 0, x1 = 0, rm = 0, xm = 0, r2 = 0, x2 = 0, ktr = 1;
    // Amplitudes of the primary current, the primary winding voltage and
    // the secondary voltage across a load R, and the mean input power, for
    // an EMF amplitude E behind SeriesR.
    struct TResult {
        double I1 = 0, U1 = 0, U2 = 0, P1 = 0;
    };
    TResult Solve(double E, double R) const {
        using C = std::complex<double>;
        const C zm(rm, xm), zs(r2 + ktr * ktr * R, x2);
        const C z = zm * zs / (zm + zs);
        const C zin = C(r1, x1) + z;
        const C i1 = E / (C(SeriesR, 0) + zin);
        TResult r;
        r.I1 = std::abs(i1);
        r.U1 = std::abs(i1 * zin);
        r.P1 = 0.5 * std::real(i1 * zin * std::conj(i1));
        // The referred secondary current through the referred load, back
        // to the secondary's own voltage.
        r.U2 = std::abs(i1 * z / zs) * ktr * R;
        return r;
    }
};

struct TRun {
    bool Finished = false;
    // Amplitudes over the last period: source-side primary current, winding
    // voltages; the secondary current through the load.
    double I1 = 0, U1 = 0, U2 = 0, I2 = 0;
    // Mean powers over the last period into the primary and into the load.
    double P1 = 0, PLoad = 0;
    // Energies over the run, J: into the primary (u1·i1 of the circuit), out
    // of the secondary into the load, the winding and core losses of the
    // transformer's own currents (a step late), the magnetic energy left at
    // the end.
    double Input = 0, Output = 0, Losses = 0, Magnetic = 0;
    // The largest difference between the circuit's winding currents and the
    // ones the transformer integrates, against the largest current.
    double CurrentMismatch = 0;
};

// What the rig reads of the transformer under test: the currents it
// integrates (primary, secondary), its loss power and its stored energy.
struct TModelView {
    std::function<std::pair<double, double>(TBaseElement*)> Currents;
    std::function<double(TBaseElement*)> Loss, Stored;
};

// Runs the transformer `cls`, given its parameters by `setup`, for T
// seconds at step h: EMF amplitude E at 50 Hz with the initial phase phi,
// the load R on the secondary. Returns nothing finished when the run is
// refused.
TRun RunTransformer(const char* cls, const std::function<void(TBaseElement*)>& setup, const TModelView& view,
         double E, double phi, double R, double T, double h);

} // namespace TransformerRig
