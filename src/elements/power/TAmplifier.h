#pragma once

#include "model/TBaseElement.h"

class TConnector;

// Idealised operational amplifier: an input resistance between Uin and
// GndIn and, between Uout and GndOut, an EMF of K times the input voltage
// behind the output resistance. The EMF raises GndOut above Uout, so the
// amplifier inverts.
class TAmplifier : public TBaseElement {
public:
    explicit TAmplifier(Schematic& sheet);

    bool CalcModelParams() override;
    void ResetState() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;

    // Live branch values.
    double InputConductance();
    double OutputConductance();
    // Taken from the potentials of the last solution as a step begins and
    // held through that step's iterations.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;
    double OutputEmf() { return Emf; }

    double Rin = 0, Rout = 0, K = 0, Gin = 0, Gout = 0;
    double InputVoltage = 0, Emf = 0, LastTime = -1.0;

private:
    TConnector* uin_ = nullptr;
    TConnector* gndIn_ = nullptr;
};
