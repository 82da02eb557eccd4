#pragma once

#include "Simulation/CircuitModel.h"
#include "blocks/Families.h"
#include "elements/machines/Selsyn.h"

class TConnector;
class TSimModel;

// The pins a, b, c, A2, A1 of a selsyn and, for a run, the model nodes of
// A2, A1, a, b, c and the star: the live values then read the potentials
// without visiting the pins.
struct TSelsynTerminals {
    TConnector* Pins[5] = {};
    int Nodes[6] = {-1, -1, -1, -1, -1, -1};
    const TSimModel* Model = nullptr;

    void Find(TBaseElement& e);
    // The nodes of the run, learnt at its first step (after model
    // assembly); forgotten when the next run resets the element.
    void Learn(const TBaseElement& e);
    void Forget() { Model = nullptr; }
    // The winding voltages at the present potentials: u_e = V(A2) − V(A1)
    // returned, u_k = V(pin k) − V(star) into u.
    double Voltages(double (&u)[3]) const;
    // The residual evaluation in progress.
    std::uint64_t Evaluation() const;
};

// Selsyn transmitter: the rotor angle θ is the signal input, read once a
// step. The windings and their voltage orders are those of Selsyn::TWindings.
class TSelsinDat : public TConsumer {
public:
    explicit TSelsinDat(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;
    bool CheckBeforeRun() override;
    void Loaded() override;
    // The angle is read from the last solved step.
    bool ReadsInputEveryStep() const override { return true; }

    // Winding k: 0 excitation, 1–3 phases a, b, c. BeginStep ends the last
    // step; the conductances stay for the step, the EMFs follow the present
    // voltages.
    template <int K> double Conductance() {
        return Windings.Conductance(K);
    }
    template <int K> double Emf() {
        return Windings.BranchEmf(K, terminals_.Evaluation(), [this](double (&u)[3]) { return Voltages(u); });
    }
    template <int K> int EmfSlopes(TNodeSlope* out) {
        return Windings.BranchEmfSlopes(K, terminals_.Nodes, out);
    }
    // The winding voltages at the present potentials: u_e, and u_k into u.
    double Voltages(double (&u)[3]) const { return terminals_.Voltages(u); }

    Selsyn::TWindings Windings;
    double t0 = 0, Theta = 0;

protected:
    // Added to the input angle in every coupling (π/2 in the transformer
    // mode).
    double offset_ = 0;

private:
    void Update();

    TSelsynTerminals terminals_;
};

// Selsyn in the transformer mode: TSelsinDat with every coupling angle
// advanced by π/2, so that its excitation winding, left open as the output,
// gives a voltage in proportion to sin(θ₁ − θ₂) against a transmitter at θ₁.
class TSelsinResTrans : public TSelsinDat {
public:
    explicit TSelsinResTrans(Schematic& sheet);
};

// The branch table of TSelsinDat, TSelsinResTrans and TSelsinRes.
template <class T> struct SelsynBranches {
    template <int K> static constexpr TBranchRecord Phase(const char* pin) {
        return {InternalNode(0), PinTerminal(pin),
                StepValue(&MemberGetter<T, &T::template Conductance<K>>),
                AffineValue(&MemberGetter<T, &T::template Emf<K>>,
                            &MemberSlopes<T, &T::template EmfSlopes<K>>),
                ConstValue(0)};
    }
    static constexpr TBranchRecord Excitation() {
        return {PinTerminal("Connector_A2"), PinTerminal("Connector_A1"),
                StepValue(&MemberGetter<T, &T::template Conductance<0>>),
                AffineValue(&MemberGetter<T, &T::template Emf<0>>,
                            &MemberSlopes<T, &T::template EmfSlopes<0>>),
                ConstValue(0)};
    }
    static constexpr TBranchRecord Table[] = {
        Phase<1>("Connector_a"), Phase<2>("Connector_b"), Phase<3>("Connector_c"),
        Excitation(),           EndRecord(),
    };
};

