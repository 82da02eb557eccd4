#pragma once

#include "model/TBaseElement.h"

class TConnector;

// Voltage-to-frequency converter: six gate-pulse channels for a three-phase
// bridge. The control voltage u = φ(U1) − φ(U2) sets the pulse frequency
// K·u Hz (50 Hz below 1 V); channel n conducts for half (method 0) or a
// third (method 1) of the period, starting (n − 1)/6 of a period after
// channel 1. Each channel is an isolated pulse voltage of A1 or 0, its first
// pin over its second, behind the output resistance Rg; the input draws
// u / Ru. A negative K runs the sequence backwards.
class TTvf : public TBaseElement {
public:
    explicit TTvf(Schematic& sheet);

    void ResetState() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;

    // Branch values. The channel outputs are taken as each step begins,
    // from the potentials of the last solution, and held through the
    // step's iterations.
    double OutputConductance();
    double InputConductance();
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    template <int Channel> double ChannelEmf() {
        return ChannelOutput[Channel];
    }

    double A1 = 0, Rg = 0, Ru = 0;
    int K = 0;
    // Phase: the time within the period over the period, in [0, 1).
    double Period = 0, Phase = 0, LastTime = -1.0;
    // Channel n at index n − 1.
    double ChannelOutput[6] = {};

private:
    void Update();

    TConnector* u1_ = nullptr;
    TConnector* u2_ = nullptr;
};
