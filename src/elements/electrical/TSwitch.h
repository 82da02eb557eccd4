#pragma once

#include "model/TBaseElement.h"

class TConnector;

// Ideal electronic switch with a resistive control input: on while the
// control-to-cathode voltage is at least "Uopen".
class TSwitch : public TBaseElement {
public:
    explicit TSwitch(Schematic& sheet);

    bool CalcModelParams() override;
    void ResetState() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;

    // Live branch conductances.
    double MainConductance();
    double ControlConductance();

    double Ron = 1, Roff = 1e9, Rcontrol = 1;
    bool FOn = false;

private:
    TConnector* control_ = nullptr;
    TConnector* cathode_ = nullptr;
    const ParamValue* uopen_ = nullptr;
};
