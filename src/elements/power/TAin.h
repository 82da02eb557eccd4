#pragma once

#include "model/TBaseElement.h"

class TConnector;

// Autonomous voltage inverter: a voltage-controlled three-phase source. The
// control voltage u = φ(U1) − φ(U2) sets the frequency K·u Hz and the
// amplitude 4.4·u V (220 V at 50 Hz); below 1 V it runs at 50·K Hz and
// 220 V. The phase follows the frequency continuously. Three EMFs 120° apart raise the phase pins above an internal star
// point, each behind the output resistance Rg; the input draws u / Ru.
class TAin : public TBaseElement {
public:
    explicit TAin(Schematic& sheet);

    void ResetState() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;

    // Branch values. The EMFs are taken as each step begins, from the
    // potentials of the last solution, and held through the step's
    // iterations.
    double OutputConductance();
    double InputConductance();
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override { Update(); }
    template <int Phase> double PhaseEmf() {
        return Emf[Phase];
    }

    int K = 0;
    double Ru = 0, Rg = 0;
    double PhaseOffset[3] = {};
    double Omega = 0, Amplitude = 0, UpdateTime = 0, LastTime = -1.0;
    // The phase argument of phase A, radians within one turn.
    double Angle = 0;
    double Emf[3] = {};

private:
    void Update();

    TConnector* u1_ = nullptr;
    TConnector* u2_ = nullptr;
};
