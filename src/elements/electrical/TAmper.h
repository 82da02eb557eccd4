#pragma once

#include "blocks/Families.h"

// Current sensor: an ammeter branch (a small shunt) whose current, entering
// at Connector1 and leaving at Connector2, is its signal output.
class TAmper : public TProducer {
public:
    explicit TAmper(Schematic& sheet);
    TValue GetOutput() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override { return RequirePositive("r"); }
    std::string OutputQuantity() const override { return "ток, А"; }
    void ResetState() override;
    void Loaded() override;

    double FShunt = 0.01;
    double Current();
    double ShuntConductance() { return 1.0 / FShunt; }

private:
    TConnector* c1_ = nullptr;
    TConnector* c2_ = nullptr;
};
