#include "params/Units.h"

namespace Units {
const UnitDef VoltageRate[] = {{"мВ/с", 0.001}, {"В/с", 1}, {"кВ/с", 1000}, {}};
const UnitDef Resistance[] = {{"Ом", 1}, {"кОм", 1000}, {"МОм", 1e6}, {"ГОм", 1e9}, {}};
const UnitDef Capacitance[] = {{"пФ", 1e-12}, {"нФ", 1e-9}, {"мкФ", 1e-6}, {"мФ", 0.001}, {"Ф", 1}, {}};
const UnitDef Inductance[] = {{"мкГн", 1e-6}, {"мГн", 0.001}, {"Гн", 1}, {}};
const UnitDef Voltage[] = {{"мкВ", 1e-6}, {"мВ", 0.001}, {"В", 1}, {"кВ", 1000}, {}};
const UnitDef Current[] = {{"мкА", 1e-6}, {"мА", 0.001}, {"А", 1}, {"кА", 1000}, {}};
const UnitDef Temperature[] = {{"К", 1}, {}};
const UnitDef CrystalType[] = {{"Si", 0}, {"Ge", 0}, {}};
const UnitDef Charge[] = {{"Кл", 1}, {}};
const UnitDef HeatCapacity[] = {{"Дж/К", 1}, {}};
const UnitDef Time[] = {{"с", 1}, {"мс", 0.001}, {"мкс", 1e-6}, {"нс", 1e-9}, {}};
const UnitDef Torque[] = {{"Н м", 1}, {}};
const UnitDef Inertia[] = {{"кг м2", 1}, {}};
const UnitDef Power[] = {{"мВт", 0.001}, {"Вт", 1}, {"кВт", 1000}, {"МВт", 1e6}, {}};
const UnitDef RotationSpeed[] = {{"об/с", 60}, {"об/мин", 1}, {}};
const UnitDef AngularFrequency[] = {{"рад/с", 1}, {"Гц", 6.283185307179586}, {}};
const UnitDef Percent[] = {{"%", 1}, {}};
const UnitDef Stiffness[] = {{"Н м/рад ", 1}, {}};
const UnitDef AngularSpeed[] = {{"рад/с   ", 1}, {}};
const UnitDef Angle[] = {{"рад     ", 1}, {}};
const UnitDef Blank[] = {{"        ", 1}, {}};
const UnitDef InductionOutput[] = {
    {"w,рад/с ", 0},         {"n,об/мин", 0},         {"n,об/с", 0},
    {"М вращ.,H м  ", 0},    {"M сопр.,Н м", 0},      {"М дин.,Н м", 0},
    {"Ток рот.обм.a, А", 0}, {"Ток рот.обм.b, А", 0}, {"Ток рот.обм.c, А", 0},
    {}};
const UnitDef TwoPhaseOutput[] = {
    {"w,рад/с ", 0},      {"n,об/мин", 0},    {"n,об/с", 0},
    {"М вращ.,H м  ", 0}, {"M сопр.,Н м", 0}, {"М дин.,Н м", 0},
    {"Ток рот.обм.l, А", 0}, {"Ток рот.обм.v, А", 0}, {}};
const UnitDef SelsinOutput[] = {
    {"w,рад/с ", 0},      {"n,об/мин", 0},    {"n,об/с", 0},
    {"М вращ.,H м  ", 0}, {"M сопр.,Н м", 0}, {"М дин.,Н м", 0},
    {"Угол рад.", 0},     {}};
const UnitDef Phase[] = {{"рад", 1}, {"град", 0.017453292519943295}, {}};
} // namespace Units
