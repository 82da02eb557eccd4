#include "elements/machines/TPovTr.h"

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "elements/machines/DcArmature.h"
#include "elements/machines/Windings.h"
#include "model/ClassRegistry.h"
#include "params/Units.h"

namespace {

// No reference rows: the dialog shows the model rows only.
const ParamDef NoReferenceRows[] = {{}};

const ParamDef ModelParams[] = {
    {"Сопротивление обмотки возбуждения", "Ra", Units::Resistance, 1, 0, 1},
    {"Индуктивность обмотки возбуждения", "La", Units::Inductance, 0.001, 1, 1},
    {"Сопротивление компенсационной обмотки", "Rb", Units::Resistance, 10, 0, 1},
    {"Индуктивность компенсационной обмотки", "Lb", Units::Inductance, 0.001, 1, 1},
    {"Сопротивление косинусной обмотки", "Rl", Units::Resistance, 15, 0, 1},
    {"Индуктивность косинусной обмотки", "Ll", Units::Inductance, 0.001, 1, 1},
    {"Сопротивление синусной обмотки", "Rv", Units::Resistance, 15, 0, 1},
    {"Индуктивность синусной обмотки", "Lv", Units::Inductance, 0.001, 1, 1},
    {"Макс. взаимная индукт.", "M", Units::Inductance, 0.0009, 1, 1},
    {},
};

const char* const Methods[] = {"Модель постоянного параметра", nullptr};

using T = TPovTr;

// Windings a (1 → 5), b (3 → 7), l (2 → 6), v (4 → 8).
template <int W> constexpr TBranchRecord Winding(const char* from, const char* to) {
    return {PinTerminal(from), PinTerminal(to), StepValue(&MemberGetter<T, &T::Conductance<W>>),
            AffineValue(&MemberGetter<T, &T::Emf<W>>, &MemberSlopes<T, &T::EmfSlopes<W>>),
            ConstValue(0)};
}

const TBranchRecord Branches[] = {
    Winding<0>("Connector1", "Connector5"),
    Winding<1>("Connector3", "Connector7"),
    Winding<2>("Connector2", "Connector6"),
    Winding<3>("Connector4", "Connector8"),
    EndRecord(),
};

} // namespace

TPovTr::TPovTr(Schematic& sheet) : TConsumer(sheet) {
    RefParamDefs = NoReferenceRows;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
    DbSection = "PovTRs";
}

void TPovTr::Loaded() {
    TConsumer::Loaded();
    const char* names[8] = {"Connector1", "Connector5", "Connector3", "Connector7",
                            "Connector2", "Connector6", "Connector4", "Connector8"};
    for (int k = 0; k < 8; ++k)
        pins_[k] = FindConnector(names[k]);
}

const TBranchRecord* TPovTr::GetCircuitModel() const {
    return Branches;
}

bool TPovTr::CheckBeforeRun() {
    for (const char* name : {"Ra", "La", "Rb", "Lb", "Rl", "Ll", "Rv", "Lv", "M"})
        if (!RequirePositive(name)) return false;
    return Windings::RequireModelMethod(*this);
}

void TPovTr::ResetState() {
    Ra = ParamOf("Ra");
    La = ParamOf("La");
    Rb = ParamOf("Rb");
    Lb = ParamOf("Lb");
    Rl = ParamOf("Rl");
    Ll = ParamOf("Ll");
    Rv = ParamOf("Rv");
    Lv = ParamOf("Lv");
    M = ParamOf("M");
    t0 = Theta = 0;
    Coupled = {};
    const double R[4] = {Ra, Rb, Rl, Rv};
    for (int k = 0; k < 4; ++k)
        Coupled.R[k] = R[k];
    // The engine differences the Jacobian at time 0, before the first
    // step: the first step's matrix is set here, at the angle 0.
    double L[4][4];
    Inductances(0.0, L);
    Coupled.Begin(Sheet().RunSettings.h, L);
}

void TPovTr::Inductances(double theta, double (&L)[4][4]) const {
    const double c = M * std::cos(theta), s = M * std::sin(theta);
    const double rows[4][4] = {
        {La, 0, c, -s}, {0, Lb, s, c}, {c, s, Ll, 0}, {-s, c, 0, Lv}};
    for (int r = 0; r < 4; ++r)
        for (int k = 0; k < 4; ++k)
            L[r][k] = rows[r][k];
}

void TPovTr::Voltages(double (&u)[4]) const {
    for (int k = 0; k < 4; ++k)
        u[k] = DcMachine::Voltage(pins_[2 * k], pins_[2 * k + 1]);
}

void TPovTr::Update() {
    const double t = Sheet().Run().Time;
    if (t <= t0) return;
    double u[4];
    Voltages(u);
    Coupled.Finish(u);
    Theta = LastInput();
    double L[4][4];
    Inductances(Theta, L);
    Coupled.Begin(t - t0, L);
    t0 = t;
}

REGISTER_ELEMENT(TPovTr, TConsumer);
