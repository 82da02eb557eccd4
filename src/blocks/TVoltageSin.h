#pragma once

#include "model/TBaseElement.h"

// Sinusoidal EMF E · sin(w·t + phi) behind the internal resistance Rvn.
class TVoltageSin : public TBaseElement {
public:
    explicit TVoltageSin(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    const TBranchRecord* GetCircuitModel() const override;

    double E = 0, W = 0, Phi = 0, Rvn = 0;
    // The EMF is computed once per model time; Newton's repeated reads
    // within a step return the stored value.
    double LastTime = -1.0;
    double Emf = 0.0;

    double Conductance() { return 1.0 / Rvn; }
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;
    double ElectromotiveForce() { return Emf; }
};
