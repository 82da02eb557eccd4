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

    // The voltage of the step before becomes the EMF of this one.
    bool AdvancesEachStep() const override { return true; }
    void BeginStep() override;

    double FLastTime = -1.0;
    double FSource = 0.0;
    double Source() { return FSource; }

private:
    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
    // The pins' equations, learnt at the first step of a run: the step then
    // reads the potentials without visiting the pins.
    bool nodesKnown_ = false;
    bool wired_ = false;
    int node1_ = -1, node2_ = -1;
};
