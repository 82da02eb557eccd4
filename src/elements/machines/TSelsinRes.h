#pragma once

#include "Simulation/CircuitModel.h"
#include "blocks/Families.h"
#include "elements/machines/LoadTorque.h"
#include "elements/machines/Selsyn.h"
#include "elements/machines/TSelsinDat.h"

class TConnector;

// Selsyn receiver: the windings of the transmitter on a shaft of its own,
// turned by the synchronising torque against the load-torque model; the
// output is a shaft quantity or the rotor angle, chosen by vv.
class TSelsinRes : public TProducer {
public:
    explicit TSelsinRes(Schematic& sheet);
    TValue GetOutput() override;
    const TBranchRecord* GetCircuitModel() const override;
    void ResetState() override;
    // The step state advances once a step, before the step is read.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;
    bool CheckBeforeRun() override;
    void Loaded() override;

    template <int K> double Conductance() {
        return Windings.Conductance(K);
    }
    template <int K> double Emf() {
        return Windings.BranchEmf(K, terminals_.Evaluation(), [this](double (&u)[3]) { return Voltages(u); });
    }
    template <int K> int EmfSlopes(TNodeSlope* out) {
        return Windings.BranchEmfSlopes(K, terminals_.Nodes, out);
    }
    double Voltages(double (&u)[3]) const { return terminals_.Voltages(u); }
    double Output();

    // Ends the step whose solution gave ue, u and begins the one at time t
    // (length h): the electrical step, then the shaft with its torque.
    void Step(double t, double h, double ue, const double (&u)[3]);

    int Choice = 0;
    Selsyn::TWindings Windings;
    double J = 0, t0 = 0, Theta = 0, W = 0, W0 = 0, Te = 0, Ml = 0, Dynamic = 0;
    LoadTorque::TModel Load;

private:
    void Update();

    TSelsynTerminals terminals_;
};
