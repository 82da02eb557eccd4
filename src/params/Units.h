#pragma once

#include "params/ParamDef.h"

// The shared units tables. Element modules use these or declare local tables
// of the same form.
namespace Units {
extern const UnitDef VoltageRate[];
extern const UnitDef Resistance[];
extern const UnitDef Capacitance[];
extern const UnitDef Inductance[];
extern const UnitDef Voltage[];
extern const UnitDef Current[];
extern const UnitDef Temperature[];
extern const UnitDef CrystalType[];
extern const UnitDef Charge[];
extern const UnitDef HeatCapacity[];
extern const UnitDef Time[];
extern const UnitDef Torque[];
extern const UnitDef Inertia[];
extern const UnitDef Power[];
extern const UnitDef RotationSpeed[];
extern const UnitDef AngularFrequency[];
extern const UnitDef Percent[];
extern const UnitDef Stiffness[];
extern const UnitDef AngularSpeed[];
extern const UnitDef Angle[];
extern const UnitDef Blank[];
extern const UnitDef InductionOutput[];
extern const UnitDef TwoPhaseOutput[];
extern const UnitDef SelsinOutput[];
// Phase of the sine-wave sources: "рад" and "град".
extern const UnitDef Phase[];
} // namespace Units

inline constexpr double TwoPi = 6.283185307179586;
inline constexpr double Pi = 3.141592653589793;
