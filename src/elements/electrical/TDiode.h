#pragma once

#include "model/TBaseElement.h"

class TConnector;

// Semiconductor diode without inertia: a three-segment piecewise-linear
// characteristic (method 0) or an exponential one with linear extensions
// (method 1). Its branch linearises itself at every read of the present
// anode-to-cathode voltage.
class TDiode : public TBaseElement {
public:
    explicit TDiode(Schematic& sheet);

    bool CalcModelParams() override;
    void ResetState() override;
    const TBranchRecord* GetCircuitModel() const override;
    bool CheckBeforeRun() override;
    int LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                        int index) override;

    // Live branch values at the present potentials.
    double Voltage() const;
    double LinearConductance();
    double LinearEmf();
    double LinearSource();
    double ExpConductance();
    double ExpSource();

    // Per-run values of the piecewise-linear model.
    double Uo = 0, Io = 0, Rf = 0, Rl = 0, Rr = 0;
    // Per-run values of the exponential model.
    double Upr = 0, Is = 0, m = 0, Vt = 0, U1 = 0, I1 = 0;

private:
    bool CheckLinearModel() const;
    bool CheckExpModel() const;

    TConnector* anode_ = nullptr;
    TConnector* cathode_ = nullptr;
    const ParamValue* iprr_ = nullptr;
};

// k·T/q per kelvin, as the models compute it.
inline constexpr double ThermalVoltagePerKelvin = 1.38e-23 * 6.25e18;

// The exponential junction through the forward point (u, i) at the rated
// temperature "Tпмакс", carried to the working temperature "Tpn" with the
// quality factor "m" and the crystal "Тип": writes the model rows Phi_nom,
// Phi_t, isn, isr and Iprr, and returns the working thermal voltage and the
// current at u. Shared by the diode and the thyristor.
struct TJunctionFit {
    double PhiT = 0;
    double Iprr = 0;
};
TJunctionFit FitJunction(TBaseElement& element, double u, double i);
