#pragma once

#include "model/TBaseElement.h"

// Capacitor in backward-Euler companion form: conductance C/h and an EMF
// equal to the voltage of the previous step, refreshed once per step.
class TCapacitor : public TBaseElement {
public:
    explicit TCapacitor(Schematic& sheet);
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override { return RequirePositive("C"); }
    void ResetState() override;
    void Loaded() override;

    double FLastTime = -1.0;
    double FSource = 0.0;
    double Source();

private:
    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
};
