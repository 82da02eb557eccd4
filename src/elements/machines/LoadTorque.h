#pragma once

#include "params/ParamDef.h"
#include "params/Units.h"

class TBaseElement;
struct ParamValue;

// The load torque on a machine shaft, chosen as the machine's model method.
// DC machines, induction machines and selsyn receivers share these models;
// the method lists differ only in whether the linearly rising model exists.
namespace LoadTorque {

enum class TKind { Constant, Harmonic, DryFriction, Viscous, Elastic, Rising, Sum, Step };

// The DC motors' list: the linearly rising model at index 5, the sum at 6,
// then a torque step at a set time (for disturbance responses of drives).
extern const char* const MethodsWithRising[];
// Six methods without it (sum at 5).
extern const char* const Methods[];

// Method masks of the rows, by the kind they belong to.
constexpr std::uint32_t Bit(int method) {
    return 1u << method;
}

// The rows of a list whose sum model has index `sum`: the sum uses every
// load row, so they show (and are saved) under it too.
constexpr ParamDef InSum(ParamDef row, int sum) {
    row.MethodMask |= Bit(sum);
    return row;
}

// Rows shared by every list; Mu is described differently by the
// variable-field motors, Wnom exists only where the viscous model needs it.
inline constexpr ParamDef McRow{"Постоянный момент", "Mc", Units::Torque, 0, 0, Bit(0)};
inline constexpr ParamDef MgRow{"Амплитуда момента", "Mg", Units::Torque, 0, 0, Bit(1)};
inline constexpr ParamDef WRow{"Угловая частота", "W", Units::AngularSpeed, 10, 0, Bit(1)};
inline constexpr ParamDef RadRow{"Начальная фаза", "Rad", Units::Angle, 1.07, 0, Bit(1)};
inline constexpr ParamDef MsRow{"Амплитуда момента", "Ms", Units::Torque, 0, 0, Bit(2)};
inline constexpr ParamDef WnomRow{
    "Ном. угловая скорость (НУС)", "Wnom", Units::AngularSpeed, 270, 0, Bit(3)};
inline constexpr ParamDef MvRow{"Момент при НУС", "Mv", Units::Torque, 0, 0, Bit(3)};
inline constexpr ParamDef LLLRow{"Логариф. коэф. вязкости", "LLL", Units::Blank, 1, 0, Bit(3)};
inline constexpr ParamDef MuShortRow{"Коэф. упругости", "Mu", Units::Stiffness, 0, 0, Bit(4)};
inline constexpr ParamDef MuLongRow{"Коэффициент упругости", "Mu", Units::Stiffness, 0, 0, Bit(4)};
inline constexpr ParamDef MstRow{"Момент ступени", "Mst", Units::Torque, 0, 0, Bit(7)};
inline constexpr ParamDef TstRow{"Время ступени", "Tst", Units::Time, 0, 0, Bit(7)};

// The kind of a method index of either list; an index outside the list
// counts as the constant model.
TKind KindOf(int method, bool withRising);

// The model of one run: rows copied at the start, the integrated angle kept.
struct TModel {
    TKind Kind = TKind::Constant;
    bool SumWithTime = true;
    double Mc = 0, Mg = 0, W = 0, Rad = 0, Ms = 0, Mv = 0, LLL = 1, Mu = 0, Mst = 0, Tst = 0;
    double OmegaRef = 1;
    double Theta = 0;
    // Read again at every step when set (the constant model of the motors).
    const ParamValue* LiveMc = nullptr;

    // Copies the rows of the element; omegaRef is the speed at which the
    // viscous torque equals Mv.
    void Reset(const TBaseElement& e, int method, bool withRising, double omegaRef, bool rereadMc);
    // The torque for the step of length dt ending at time t, from the speed
    // of the previous step; advances the angle of the elastic models.
    double Step(double t, double omega, double dt);
};

// Mv·|ω/ωref|^LLL against the direction of rotation.
double Viscous(double Mv, double omega, double omegaRef, double LLL);

} // namespace LoadTorque
