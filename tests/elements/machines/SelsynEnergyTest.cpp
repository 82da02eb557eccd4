#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

#include "Simulation/RunContext.h"
#include "Simulation/RunSimulation.h"
#include "Simulation/SimModel.h"
#include "app/SchematicFile.h"
#include "elements/machines/TPovTr.h"
#include "elements/machines/TSelsinDat.h"
#include "elements/machines/TSelsinRes.h"
#include "model/Schematic.h"
#include "model/TBaseElement.h"
#include "model/TConnector.h"
#include "support/ExampleBuilder.h"
#include "support/RecordingMessages.h"

// The energy balance of the selsyns and the rotary transformer over the
// example runs: what enters the windings at their terminals equals the
// copper losses, the magnetic energy left and the mechanical work. The
// inductances and their angle derivatives are formed here from the
// parameters, the electrical input from the solved potentials.
namespace {

constexpr double Pi = 3.141592653589793;
constexpr int N = 4;
using Matrix = double[N][N];
using Vector = double[N];

double Quadratic(const Matrix& A, const Vector& x) {
    double s = 0;
    for (int r = 0; r < N; ++r)
        for (int c = 0; c < N; ++c)
            s += x[r] * A[r][c] * x[c];
    return s;
}

// Windings e, a, b, c of a selsyn at the coupling angle `angle`: e couples
// to phase k by M·cos(angle + φ_k), φ = 0, +120°, −120°; the phases to each
// other by M·cos 120°.
struct TSelsynData {
    double Rc = 0, Lc = 0, Rp = 0, Lp = 0, M = 0;
    explicit TSelsynData(const TBaseElement& e)
        : Rc(e.ParamOf("Rc")), Lc(e.ParamOf("Lc")), Rp(e.ParamOf("Rp")), Lp(e.ParamOf("Lp")),
          M(e.ParamOf("M")) {}
    void Inductances(double angle, Matrix& L, Matrix& dL) const {
        const double phase[3] = {0, 2 * Pi / 3, -2 * Pi / 3};
        for (int r = 0; r < N; ++r)
            for (int c = 0; c < N; ++c)
                L[r][c] = dL[r][c] = 0;
        L[0][0] = Lc;
        for (int k = 1; k < N; ++k)
            for (int j = 1; j < N; ++j)
                L[k][j] = j == k ? Lp : M * std::cos(2 * Pi / 3);
        for (int k = 1; k < N; ++k) {
            L[0][k] = L[k][0] = M * std::cos(angle + phase[k - 1]);
            dL[0][k] = dL[k][0] = -M * std::sin(angle + phase[k - 1]);
        }
    }
    double Resistance(int k) const { return k == 0 ? Rc : Rp; }
};

// Windings a, b (stator), l, v (rotor) of the rotary transformer: a–l
// M·cos θ, a–v −M·sin θ, b–l M·sin θ, b–v M·cos θ.
struct TResolverData {
    double R[N] = {}, L[N] = {}, M = 0;
    explicit TResolverData(const TBaseElement& e) : M(e.ParamOf("M")) {
        const char* names[N][2] = {{"Ra", "La"}, {"Rb", "Lb"}, {"Rl", "Ll"}, {"Rv", "Lv"}};
        for (int k = 0; k < N; ++k) {
            R[k] = e.ParamOf(names[k][0]);
            L[k] = e.ParamOf(names[k][1]);
        }
    }
    void Inductances(double theta, Matrix& A, Matrix& dA) const {
        const double c = std::cos(theta), s = std::sin(theta);
        const double self[N][N] = {{L[0], 0, 0, 0}, {0, L[1], 0, 0}, {0, 0, L[2], 0}, {0, 0, 0, L[3]}};
        const double cs[N][N] = {{0, 0, c, -s}, {0, 0, s, c}, {c, s, 0, 0}, {-s, c, 0, 0}};
        const double dcs[N][N] = {{0, 0, -s, -c}, {0, 0, c, -s}, {-s, c, 0, 0}, {-c, -s, 0, 0}};
        for (int r = 0; r < N; ++r)
            for (int k = 0; k < N; ++k) {
                A[r][k] = self[r][k] + M * cs[r][k];
                dA[r][k] = M * dcs[r][k];
            }
    }
    double Resistance(int k) const { return R[k]; }
};

// One element's sample: winding voltages u and currents i (passive sense)
// of the step just solved, the coupling angle of its inductances.
struct TWindingState {
    Vector u = {}, i = {};
    double angle = 0;
};

// The energies of one element's four windings over a run, J. Backward Euler
// of Ψ = L(θ)·i makes the input of a step, u_n·i_n·h, exactly
//   R·i_n²·h + Δ(½·iᵀ·L·i) + ½·i_nᵀ·(L_n − L_{n−1})·i_n + ½·Δiᵀ·L_{n−1}·Δi:
// copper, magnetic, the energy converted by the turning rotor and the
// scheme's own damping, which vanishes with the step.
struct TEnergy {
    double Input = 0, Copper = 0, Magnetic = 0, Converted = 0, Damping = 0;
    // ∫Te dθ with Te = ½·iᵀ·∂L/∂θ·i at the middle of each step's turn: the
    // work the field does on a rotor whose angle is imposed.
    double TorqueWork = 0;
    // Into the excitation winding alone (winding 0).
    double ExcitationInput = 0;
    TWindingState Last;
    bool Started = false;

    template <class Data> void Add(const Data& d, const TWindingState& now, double dt) {
        if (!Started) {
            // Nothing flows before the first step: its angle is the start.
            Last = TWindingState{};
            Last.angle = now.angle;
            Started = true;
        }
        for (int k = 0; k < N; ++k) {
            Input += now.u[k] * now.i[k] * dt;
            Copper += d.Resistance(k) * now.i[k] * now.i[k] * dt;
        }
        ExcitationInput += now.u[0] * now.i[0] * dt;
        Matrix L, dL, L0, dL0, Lm, dLm;
        d.Inductances(now.angle, L, dL);
        d.Inductances(Last.angle, L0, dL0);
        d.Inductances(0.5 * (now.angle + Last.angle), Lm, dLm);
        Matrix change;
        Vector di;
        for (int r = 0; r < N; ++r) {
            di[r] = now.i[r] - Last.i[r];
            for (int c = 0; c < N; ++c)
                change[r][c] = L[r][c] - L0[r][c];
        }
        Converted += 0.5 * Quadratic(change, now.i);
        Damping += 0.5 * Quadratic(L0, di);
        TorqueWork += 0.5 * Quadratic(dLm, now.i) * (now.angle - Last.angle);
        Magnetic = 0.5 * Quadratic(L, now.i);
        Last = now;
    }
    // The exact sum of a backward-Euler run.
    double Stepped() const { return Copper + Magnetic + Converted + Damping; }
    // The balance of the continuous equations, the mechanical work given.
    double Balance(double work) const { return Copper + Magnetic + work; }
    double Largest(double work) const {
        return std::max({std::abs(Input), std::abs(Copper), std::abs(Magnetic), std::abs(work)});
    }
    std::string Terms(double work) const {
        return "input " + std::to_string(Input) + " copper " + std::to_string(Copper) +
               " magnetic " + std::to_string(Magnetic) + " work " + std::to_string(work) +
               " damping " + std::to_string(Damping);
    }
};

// A selsyn's winding voltages and, by the branch law, the currents the
// circuit sees in its branches: the excitation branch A2 → A1 carries
// G·(E + u_e) into A2, a phase branch node 0 → pin carries G·(E − u_k) from
// the star to the pin, that is −i_k.
template <class T> TWindingState SelsynState(T& e, double angle) {
    TWindingState s;
    double u[3];
    s.u[0] = e.Voltages(u);
    for (int k = 0; k < 3; ++k)
        s.u[1 + k] = u[k];
    const Selsyn::TWindings& w = e.Windings;
    s.i[0] = w.Conductance(0) * (w.BranchEmf(0, s.u[0], u) + s.u[0]);
    for (int k = 1; k < N; ++k)
        s.i[k] = -w.Conductance(k) * (w.BranchEmf(k, s.u[0], u) - s.u[k]);
    s.angle = angle;
    return s;
}

template <class T> T* Find(Schematic& sheet, const char* cls) {
    T* found = nullptr;
    for (TBaseElement* e : sheet.Elements)
        if (e->ClassName() == cls) {
            EXPECT_EQ(found, nullptr) << cls;
            found = static_cast<T*>(e);
        }
    EXPECT_NE(found, nullptr) << cls;
    return found;
}

// Loads an example, runs it for T seconds (at the step h, its own for 0)
// with a sample at every step and calls `sample` with the time and the
// step's length. At a sample each element holds the inductances, and the
// angle, of the step just solved.
bool RunExample(Schematic& sheet, const char* name, double T, double h,
                const std::function<void(double, double)>& sample) {
    if (LoadSchematic(sheet, ExamplePath(name)) != TLoadResult::Loaded) return false;
    TRunSettings& m = sheet.RunSettings;
    m.T = T;
    if (h > 0) m.h = h;
    m.GS = m.h;
    TRunContext context(sheet, "");
    if (!PrepareRun(context)) return false;
    double last = 0;
    long samples = 0;
    TRunOptions o;
    o.MaxIterations = 100;
    o.Sample = [&](double t, const std::vector<double>&) {
        const double dt = t - last;
        last = t;
        if (dt <= 0) return;
        ++samples;
        sample(t, dt);
    };
    const TRunResult r = RunSimulation(context, o);
    // Every step sampled: the sums weigh each step once.
    EXPECT_GE(samples, r.Steps - 1);
    EXPECT_NEAR(last, T, 2 * m.h);
    return r.Status == TRunResult::Outcome::Finished;
}

// A finer step than the examples' for the balance of the continuous
// equations: backward Euler adds ω²·h·L/2 to a winding's resistance, at
// 400 Hz and h = 1e-5 0.063 Ω to the excitation winding's 1 Ω, 6 % of its
// loss; at 1e-6 it is 0.6 %.
constexpr double FineH = 1e-6, FineT = 0.05;

// The selsyn link: transmitter and receiver energies, the receiver's shaft
// and the checks of the circuit's currents and of the receiver's torque.
struct TLinkRun {
    bool Finished = false;
    TEnergy Tx, Rx;
    // The receiver's kinetic energy at the end and its load work.
    double Kinetic = 0, Load = 0;
    double SourceInput = 0;
    // Kirchhoff between the two selsyns' phase currents, the receiver's
    // integrated currents against the circuit's, its torque against
    // ½·iᵀ·∂L/∂θ·i of its currents; each with the peak it is measured by.
    double Kirchhoff = 0, PeakPhase = 0, CurrentMismatch = 0, PeakCurrent = 0;
    double TorqueMismatch = 0, PeakTorque = 0;
    // Means over the ramp after its first 0.1 s: torque, lag, speed.
    double RampTorque = 0, RampLag = 0, RampSpeed = 0;
};

constexpr double RampEnd = 0.5;

TLinkRun RunLink(double T, double h) {
    TLinkRun r;
    Schematic sheet;
    TSelsinDat* tx = nullptr;
    TSelsinRes* rx = nullptr;
    TWindingState rxBefore;
    int rampSamples = 0;
    r.Finished = RunExample(sheet, "selsyn_link.dvn", T, h, [&](double t, double dt) {
        if (!tx) {
            tx = Find<TSelsinDat>(sheet, "TSelsinDat");
            rx = Find<TSelsinRes>(sheet, "TSelsinRes");
        }
        const TSelsynData txD(*tx), rxD(*rx);
        const TWindingState txNow = SelsynState(*tx, tx->Theta);
        const TWindingState rxNow = SelsynState(*rx, rx->Theta);
        if (r.Rx.Started) {
            // The receiver has now ended the step before: its currents and
            // its torque are those of that step's currents and angle.
            Matrix L, dL;
            rxD.Inductances(rxBefore.angle, L, dL);
            const double te = 0.5 * Quadratic(dL, rxBefore.i);
            r.TorqueMismatch = std::max(r.TorqueMismatch, std::abs(rx->Te - te));
            r.PeakTorque = std::max(r.PeakTorque, std::abs(te));
            for (int k = 0; k < N; ++k) {
                r.CurrentMismatch =
                    std::max(r.CurrentMismatch, std::abs(rx->Windings.Current(k) - rxBefore.i[k]));
                r.PeakCurrent = std::max(r.PeakCurrent, std::abs(rxBefore.i[k]));
            }
        }
        r.Tx.Add(txD, txNow, dt);
        r.Rx.Add(rxD, rxNow, dt);
        r.Load += rx->Ml * rx->W * dt;
        // Both excitation windings hang on the source between A2 and the
        // ground.
        r.SourceInput += txNow.u[0] * (txNow.i[0] + rxNow.i[0]) * dt;
        for (int k = 1; k < N; ++k) {
            r.Kirchhoff = std::max(r.Kirchhoff, std::abs(txNow.i[k] + rxNow.i[k]));
            r.PeakPhase = std::max(r.PeakPhase, std::abs(txNow.i[k]));
        }
        if (t > 0.1 && t < RampEnd) {
            r.RampTorque += rx->Te;
            r.RampLag += tx->Theta - rx->Theta;
            r.RampSpeed += rx->W;
            ++rampSamples;
        }
        rxBefore = rxNow;
    });
    if (rx) r.Kinetic = 0.5 * rx->J * rx->W * rx->W;
    if (rampSamples > 0) {
        r.RampTorque /= rampSamples;
        r.RampLag /= rampSamples;
        r.RampSpeed /= rampSamples;
    }
    return r;
}

TEST(SelsynEnergy, LinkStepsConserveEnergyAndTheReceiverIsPulledTowardsTheTransmitter) {
    RecordingMessages messages;
    // Through the ramp and a while of the hold, at the example's own step.
    const TLinkRun r = RunLink(0.8, 0);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    // The currents taken by the branch law are the circuit's: the phase
    // lines carry each the same current out of one selsyn and into the
    // other, and the receiver integrates the same currents.
    EXPECT_LT(r.Kirchhoff, 1e-9 * r.PeakPhase);
    EXPECT_LT(r.CurrentMismatch, 1e-9 * r.PeakCurrent);
    // Every step's input is its copper loss, magnetic energy, converted
    // energy and damping, with the inductances formed here.
    for (const TEnergy* e : {&r.Tx, &r.Rx})
        EXPECT_NEAR(e->Stepped(), e->Input, 1e-6 * e->Input) << e->Terms(e->Converted);
    // The converted energy is the work of the torque: on the transmitter's
    // imposed shaft ∫Te dθ, on the receiver's own shaft its kinetic energy
    // and the load's work.
    EXPECT_NEAR(r.Tx.TorqueWork, r.Tx.Converted, 0.01 * std::abs(r.Tx.Converted));
    EXPECT_NEAR(r.Kinetic + r.Load, r.Rx.Converted, 0.01 * std::abs(r.Rx.Converted));
    // Power flows from the source into both excitation windings; the
    // transmitter's shaft is driven (the field's work on it negative), the
    // receiver's shaft turns its load.
    EXPECT_GT(r.SourceInput, 0);
    EXPECT_GT(r.Tx.ExcitationInput, 0);
    EXPECT_GT(r.Rx.ExcitationInput, 0);
    EXPECT_LT(r.Tx.TorqueWork, 0);
    EXPECT_GT(r.Load, 0);
    // What the transmitter's shaft gives is what the receiver's takes, less
    // the losses the transmission costs.
    EXPECT_GT(-r.Tx.TorqueWork, r.Rx.Converted);
    // The receiver's torque is ½·iᵀ·∂L/∂θ·i of its own currents and angle.
    EXPECT_GT(r.PeakTorque, 0);
    EXPECT_LT(r.TorqueMismatch, 0.01 * r.PeakTorque);
    // While the transmitter turns forward the receiver lags behind it and
    // is pulled forward after it: its torque is positive, it turns forward.
    EXPECT_GT(r.RampLag, 0);
    EXPECT_GT(r.RampTorque, 0);
    EXPECT_GT(r.RampSpeed, 0);
}

TEST(SelsynEnergy, LinkBalancesWithinOnePercent) {
    RecordingMessages messages;
    const TLinkRun r = RunLink(FineT, FineH);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    const double txWork = r.Tx.TorqueWork, rxWork = r.Kinetic + r.Load;
    EXPECT_NEAR(r.Tx.Balance(txWork), r.Tx.Input, 0.01 * r.Tx.Largest(txWork))
        << r.Tx.Terms(txWork);
    EXPECT_NEAR(r.Rx.Balance(rxWork), r.Rx.Input, 0.01 * r.Rx.Largest(rxWork))
        << r.Rx.Terms(rxWork);
}

// A transmitter turned by the ramp against the transformer-mode selsyn held
// at its angle, whose output winding feeds a resistor.
struct TTransformerRun {
    bool Finished = false;
    TEnergy Tx, St;
    double OutputEnergy = 0;
};

TTransformerRun RunTransformerMode(double T, double h) {
    TTransformerRun r;
    Schematic sheet;
    TSelsinDat* tx = nullptr;
    TSelsinResTrans* st = nullptr;
    double resistor = 0;
    r.Finished = RunExample(sheet, "selsyn_transformer.dvn", T, h, [&](double, double dt) {
        if (!tx) {
            tx = Find<TSelsinDat>(sheet, "TSelsinDat");
            st = Find<TSelsinResTrans>(sheet, "TSelsinResTrans");
            for (TBaseElement* e : sheet.Elements)
                if (e->ClassName() == "TResistor") resistor = e->ParamOf("R");
        }
        // The transformer-mode selsyn couples at its angle + π/2.
        r.Tx.Add(TSelsynData(*tx), SelsynState(*tx, tx->Theta), dt);
        const TWindingState stNow = SelsynState(*st, st->Theta + Pi / 2);
        r.St.Add(TSelsynData(*st), stNow, dt);
        r.OutputEnergy += stNow.u[0] * stNow.u[0] / resistor * dt;
    });
    return r;
}

TEST(SelsynEnergy, TransformerModeStepsConserveEnergyAndFeedTheOutput) {
    RecordingMessages messages;
    const TTransformerRun r = RunTransformerMode(0.5, 0);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    for (const TEnergy* e : {&r.Tx, &r.St}) {
        EXPECT_NEAR(e->Stepped(), e->Input, 1e-6 * e->Input) << e->Terms(e->Converted);
        EXPECT_NEAR(e->TorqueWork, e->Converted, 0.01 * e->Largest(e->Converted));
    }
    // Power flows from the source into the transmitter and out of the
    // output winding into its resistor, which takes all of it.
    EXPECT_GT(r.Tx.ExcitationInput, 0);
    EXPECT_GT(r.OutputEnergy, 0);
    EXPECT_NEAR(-r.St.ExcitationInput, r.OutputEnergy, 1e-6 * r.OutputEnergy);
}

TEST(SelsynEnergy, TransformerModeBalancesWithinOnePercent) {
    RecordingMessages messages;
    const TTransformerRun r = RunTransformerMode(FineT, FineH);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    for (const TEnergy* e : {&r.Tx, &r.St})
        EXPECT_NEAR(e->Balance(e->TorqueWork), e->Input, 0.01 * e->Largest(e->TorqueWork))
            << e->Terms(e->TorqueWork);
}

// The rotary transformer excited on winding a, b shorted through a
// resistor, l and v on their loads.
struct TResolverRun {
    bool Finished = false;
    TEnergy E;
    // Into the windings b, l, v.
    double Outputs = 0;
};

TResolverRun RunResolver(double T, double h) {
    TResolverRun r;
    Schematic sheet;
    TPovTr* rt = nullptr;
    r.Finished = RunExample(sheet, "resolver.dvn", T, h, [&](double, double dt) {
        if (!rt) rt = Find<TPovTr>(sheet, "TPovTr");
        TWindingState now;
        rt->Voltages(now.u);
        // Each winding's branch from → to carries G·(E + u) into "from".
        for (int k = 0; k < N; ++k)
            now.i[k] = rt->Coupled.G(k) * (rt->Coupled.E(k, now.u) + now.u[k]);
        now.angle = rt->Theta;
        r.E.Add(TResolverData(*rt), now, dt);
        for (int k = 1; k < N; ++k)
            r.Outputs += now.u[k] * now.i[k] * dt;
    });
    return r;
}

TEST(SelsynEnergy, ResolverStepsConserveEnergyFromExcitationIntoTheLoads) {
    RecordingMessages messages;
    const TResolverRun r = RunResolver(0.25, 0);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_NEAR(r.E.Stepped(), r.E.Input, 1e-6 * r.E.Input) << r.E.Terms(r.E.Converted);
    EXPECT_NEAR(r.E.TorqueWork, r.E.Converted, 0.01 * r.E.Largest(r.E.Converted));
    EXPECT_GT(r.E.ExcitationInput, 0);
    EXPECT_LT(r.Outputs, 0);
}

TEST(SelsynEnergy, ResolverBalancesWithinOnePercent) {
    RecordingMessages messages;
    const TResolverRun r = RunResolver(FineT, FineH);
    ASSERT_TRUE(r.Finished);
    EXPECT_TRUE(messages.Entries.empty());
    EXPECT_NEAR(r.E.Balance(r.E.TorqueWork), r.E.Input, 0.01 * r.E.Largest(r.E.TorqueWork))
        << r.E.Terms(r.E.TorqueWork);
}

} // namespace
