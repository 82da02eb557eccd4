#pragma once

#include "model/TBaseElement.h"

class TConnector;

// Thyristor without inertia: a latching main branch between anode and
// cathode (piecewise-linear, method 0, or exponential, method 1) and a
// resistive control branch between control electrode and cathode.
class TThyristor : public TBaseElement {
public:
    explicit TThyristor(Schematic& sheet);

    bool CalcModelParams() override;
    void ResetState() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;
    int LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                        int index) override;

    // Live branch values at the present potentials.
    double MainConductance();
    double MainEmf();
    double MainSource();
    double ControlConductance();

    // Anode-to-cathode voltage at the present potentials.
    double Voltage() const;

    double Rg = 0, Ron = 0, R1 = 0, Roff = 0, Uo = 0, Io = 0, G = 0;
    bool IsOn = false;
    double Uon = 0, Isr = 0, M = 0, PhiT = 0, Ulow = 0, Ilow = 0;

private:
    // The latch runs once per residual evaluation, at its first read of g,
    // E or J, and fixes all three for the reads that follow, whatever their
    // order or number. An evaluation is recognised by the model time and the
    // three potentials it reads: they change from one evaluation to the next
    // and not within one.
    void Evaluate();
    void Latch(double v);
    void Linearise(double v);
    double TangentSlope() const;
    double TangentOffset() const;
    bool CheckLinearModel() const;
    bool CheckExpModel() const;
    bool Refuse(const std::string& text) const;

    TConnector* anode_ = nullptr;
    TConnector* cathode_ = nullptr;
    TConnector* control_ = nullptr;
    const ParamValue* iprr_ = nullptr;
    const ParamValue* hold_ = nullptr;
    const ParamValue* trigger_ = nullptr;
    bool evaluated_ = false;
    double lastTime_ = 0, lastAnode_ = 0, lastCathode_ = 0, lastControl_ = 0;
    double E_ = 0, J_ = 0;
};
