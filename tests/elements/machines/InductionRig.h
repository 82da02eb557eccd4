#pragma once

#include <array>
#include <cmath>
#include <complex>
#include <string>
#include <vector>

class Schematic;
class TBaseElement;

// A three-phase induction motor fed by three sine EMFs through ammeters,
// and the independent reference for it: the per-phase T-equivalent circuit.
namespace InductionRig {

constexpr double Pi = 3.141592653589793;
constexpr double Omega50 = 2 * Pi * 50;
// The sources' and the ammeters' internal resistances.
constexpr double SeriesR = 0.01 + 0.01;

struct TMotorData {
    double Rc, Lc, Rp, Lp, M, J;
};

// The example motor, a two-pole machine for 220 V per phase: Rs = 1.5 Ω,
// Rr' = 1.2 Ω, leakage inductances 8 mH each, magnetising Lm = 0.255 H.
inline constexpr TMotorData Example{1.5, 0.178, 1.2, 0.178, 0.17, 0.02};

// Phase-coordinate data to the T-circuit: the stator self-inductance Lc
// and the mutual −M/2 between phases make the positive-sequence stator
// inductance Lc + M/2 = Lσs + Lm with Lm = 3M/2 (the peak coupling M times
// the 3/2 of a rotating field), so Lσs = Lc − M; likewise Lσr' = Lp − M
// with the rotor already referred (turns ratio 1), Rs = Rc, Rr' = Rp.
struct TTCircuit {
    double Rs, Ls, Rr, Lr, Lm;
    explicit TTCircuit(const TMotorData& d, double seriesR = SeriesR)
        : Rs(d.Rc + seriesR), Ls(d.Lc - d.M), Rr(d.Rp), Lr(d.Lp - d.M), Lm(1.5 * d.M) {}

    // Air-gap torque of three phases at slip s, one pole pair, phase
    // voltage of rms value V at angular frequency w.
    double Torque(double s, double V, double w = Omega50) const {
        using C = std::complex<double>;
        const C zr(Rr / s, w * Lr), zm(0, w * Lm);
        const C z = C(Rs, w * Ls) + zr * zm / (zr + zm);
        const C i2 = V / z * zm / (zr + zm);
        return 3 * std::norm(i2) * Rr / s / w;
    }
    // The slip on the stable branch (below the pull-out slip) at which the
    // torque is T.
    double SlipAt(double T, double V, double w = Omega50) const {
        double lo = 1e-9, hi = 1;
        // The pull-out slip bounds the stable branch.
        for (double s = 1e-4; s < 1; s *= 1.01)
            if (Torque(s, V, w) > Torque(s * 1.01, V, w)) {
                hi = s;
                break;
            }
        for (int k = 0; k < 200; ++k) {
            const double mid = 0.5 * (lo + hi);
            (Torque(mid, V, w) < T ? lo : hi) = mid;
        }
        return 0.5 * (lo + hi);
    }
};

struct TRun {
    double MeanTorque = 0; // over the last 0.1 s
    bool Finished = false;
    double Omega = 0, Torque = 0;
    // Energies over the run, J.
    double Input = 0, Copper = 0, Magnetic = 0, Kinetic = 0, LoadWork = 0;
    double PeakCurrent = 0;
    long Samples = 0, Steps = 0;
};

// Runs TAtd with the data d from rest for T seconds at step h, fed with
// amplitude U at 50 Hz; phase order A, B, C when `positive`, A, C, B when
// not; the constant load torque Mc.
TRun RunTAtd(const TMotorData& d, double U, double Mc, double T, double h, bool positive = true,
             std::vector<double>* speeds = nullptr, double every = 0);

// The same run with TAtdpet, its rotor pins joined at one node directly
// (rotorR = 0) or each through a resistor of rotorR; a sample of the speed
// every `every` seconds into `speeds` when given.
TRun RunTAtdpet(const TMotorData& d, double U, double Mc, double T, double h, double rotorR,
                std::vector<double>* speeds = nullptr, double every = 0);

// Places three sine EMFs of amplitude U and 50 Hz, 120° apart, each through
// an ammeter to one of the three named pins of `motor`.
void FeedThreePhase(Schematic& sheet, TBaseElement* motor, const std::array<const char*, 3>& pins,
                    double U, bool positive, std::array<TBaseElement*, 3>* ammeters = nullptr);

} // namespace InductionRig
