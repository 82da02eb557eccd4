#include "elements/machines/LoadTorque.h"

#include <cmath>

#include "model/TBaseElement.h"

namespace LoadTorque {

namespace {
// The value of a row the list may lack, without FindParam's message.
double OptionalRow(const TBaseElement& e, std::string_view name) {
    for (const ParamValue& v : e.ParamValues)
        if (v.Def && v.Def->Name && name == v.Def->Name) return v.Value;
    return 0.0;
}
} // namespace

const char* const MethodsWithRising[] = {"Модель постоянного момента",
                                         "Модель гармонического момента",
                                         "Модель момента сухого трения",
                                         "Модель момента вязкого трения",
                                         "Модель упругого момента",
                                         "Модель линейнонарастающего момента",
                                         "Модель суммарного момента",
                                         "Модель ступенчатого момента",
                                         nullptr};

const char* const Methods[] = {"Модель постоянного момента",
                               "Модель гармонического момента",
                               "Модель момента сухого трения",
                               "Модель момента вязкого трения",
                               "Модель упругого момента",
                               "Модель суммарного момента",
                               nullptr};

TKind KindOf(int method, bool withRising) {
    switch (method) {
    case 1:
        return TKind::Harmonic;
    case 2:
        return TKind::DryFriction;
    case 3:
        return TKind::Viscous;
    case 4:
        return TKind::Elastic;
    case 5:
        return withRising ? TKind::Rising : TKind::Sum;
    case 6:
        return withRising ? TKind::Sum : TKind::Constant;
    case 7:
        return withRising ? TKind::Step : TKind::Constant;
    default:
        return TKind::Constant;
    }
}

void TModel::Reset(const TBaseElement& e, int method, bool withRising, double omegaRef,
                   bool rereadMc) {
    Kind = KindOf(method, withRising);
    SumWithTime = withRising;
    Mc = e.ParamOf("Mc");
    Mg = e.ParamOf("Mg");
    W = e.ParamOf("W");
    Rad = e.ParamOf("Rad");
    Ms = e.ParamOf("Ms");
    Mv = e.ParamOf("Mv");
    LLL = e.ParamOf("LLL");
    Mu = e.ParamOf("Mu");
    Mst = OptionalRow(e, "Mst");
    Tst = OptionalRow(e, "Tst");
    OmegaRef = omegaRef;
    Theta = 0;
    LiveMc = rereadMc ? e.FindParam("Mc") : nullptr;
}

double Viscous(double Mv, double omega, double omegaRef, double LLL) {
    // A plain power of a negative speed would be NaN for a fractional
    // exponent and would push the shaft on for an even one.
    const double magnitude = Mv * std::pow(std::abs(omega / omegaRef), LLL);
    return omega < 0 ? -magnitude : magnitude;
}

double TModel::Step(double t, double omega, double dt) {
    const double dry = omega > 0 ? Ms : (omega < 0 ? -Ms : 0.0);
    switch (Kind) {
    case TKind::Constant:
        return LiveMc ? LiveMc->Value : Mc;
    case TKind::Harmonic:
        return Mg * std::sin(W * t + Rad);
    case TKind::DryFriction:
        return dry;
    case TKind::Viscous:
        return omega == 0 ? 0.0 : Viscous(Mv, omega, OmegaRef, LLL);
    case TKind::Elastic:
        Theta += omega * dt;
        return Mu * Theta;
    case TKind::Rising:
        return t;
    case TKind::Step:
        return t >= Tst ? Mst : 0.0;
    case TKind::Sum: {
        Theta += omega * dt;
        double sum = (LiveMc ? LiveMc->Value : Mc) + Mg * std::sin(W * t + Rad) + dry +
                     (omega == 0 ? 0.0 : Viscous(Mv, omega, OmegaRef, LLL)) + Mu * Theta;
        if (SumWithTime) sum += t;
        return sum;
    }
    }
    return 0.0;
}

} // namespace LoadTorque
