#pragma once

#include "elements/machines/LoadTorque.h"
#include "params/ParamDef.h"

class TBaseElement;
class TConnector;

// Units and the armature-and-shaft step shared by the DC machines.
namespace DcMachine {

extern const UnitDef RevPerMinute[];     // "об/мин" only
extern const UnitDef VoltSecondPerRad[]; // "B c/рад"
extern const UnitDef MotorOutput[];      // TMotor's vv
extern const UnitDef MechanicalOutput[]; // TMechanical's vv
extern const UnitDef FieldMotorOutput[]; // the variable-field motors' vv

// ωn from the nominal speed in revolutions per minute, with 6.28 for 2π as
// the nameplate formulas take it.
inline double NominalOmega(double Nn) {
    return Nn * (1.0 / 60.0) * 6.28;
}
inline constexpr double PerTurn = 0.15915507752443828;

// The potential difference V(a) − V(b) of the last solution; an unconnected
// pin counts as 0.
double Voltage(const TConnector* a, const TConnector* b);

// The variable-field motors' output by vv from the load torque, the
// electromagnetic torque and the speed.
double FieldMotorValue(int choice, double Ml, double torque, double omega);

// Refuses a model method outside the element's list.
bool RequireMethod(const TBaseElement& e);

// Refuses a `vv` choice outside its list, naming element and parameter.
bool RequireOption(const TBaseElement& e, const char* name);

// Backward-Euler step of L·di/dt = u − R·i − K·ω, J·dω/dt = K·i − Ml. The
// armature is the branch "Connector1" → "Connector2": with u = V(1) − V(2)
// the engine's branch current G·(E + u) is the current the motor draws in
// at Connector1, the same i the step integrates.
struct TArmature {
    double R = 0, L = 0, J = 0;
    double tm = 0, dt = 0;
    double i = 0, i0 = 0, w = 0, w0 = 0, Ml = 0;
    double G = 0, E = 0;

    void Reset(double r, double l, double j);
    void Step(double t, double u, double K, LoadTorque::TModel& load);
};

} // namespace DcMachine
