#include "elements/machines/Selsyn.h"

#include <cmath>

#include "model/TBaseElement.h"
#include "params/Units.h"

namespace Selsyn {

namespace {

constexpr double S = 2.0943951023931953; // 2π/3
// cos and sin of the phase offsets 0, +120°, −120°: the three angles then
// cost one cosine and one sine.
const double CosPhase[3] = {1.0, -0.5, -0.5};
const double SinPhase[3] = {0.0, 0.86602540378443865, -0.86602540378443865};

} // namespace

// Constant rows, so that both tables are filled before any element exists.
constexpr ParamDef RcRow{"Сопротивление обмотки статора", "Rc", Units::Resistance, 1, 0, 0};
constexpr ParamDef LcRow{"Индуктивность обмотки статора", "Lc", Units::Inductance, 0.002, 1, 0};
constexpr ParamDef RpRow{"Сопротивление обмоток ротора", "Rp", Units::Resistance, 20, 0, 0};
constexpr ParamDef LpRow{"Индуктивность обмоток ротора", "Lp", Units::Inductance, 0.004, 1, 0};
constexpr ParamDef MRow{"Макс. взаимная индукт.", "M", Units::Inductance, 0.0015, 1, 0};

const ParamDef WindingParams[] = {RcRow, LcRow, RpRow, LpRow, MRow, {}};

const UnitDef ReceiverOutput[] = {{"w,рад/с ", 0},      {"n,об/мин", 0},    {"n,об/с", 0},
                                  {"М вращ.,H м  ", 0}, {"M сопр.,Н м", 0}, {"М дин.,Н м", 0},
                                  {"Угол рад.", 0},     {}};

const ParamDef ReceiverParams[] = {
    {"Выходная величина", "vv", ReceiverOutput, 0, 0, 0},
    {"Момент инерции", "Jd", Units::Inertia, 5e-05, 0, 0},
    RcRow,
    LcRow,
    RpRow,
    LpRow,
    MRow,
    {},
};

bool CheckWindings(const TBaseElement& e) {
    for (const char* name : {"Rc", "Lc", "Rp", "Lp", "M"})
        if (!e.RequirePositive(name)) return false;
    return true;
}

void TWindings::Reset(const TBaseElement& e) {
    *this = TWindings{};
    Rc = e.ParamOf("Rc");
    Lc = e.ParamOf("Lc");
    Rp = e.ParamOf("Rp");
    Lp = e.ParamOf("Lp");
    M = e.ParamOf("M");
    Coupled.R[0] = Rc;
    Coupled.R[1] = Coupled.R[2] = Coupled.R[3] = Rp;
}

void TWindings::Begin(double h, double theta) {
    double L[4][4];
    L[0][0] = Lc;
    const double c = std::cos(theta), s = std::sin(theta);
    for (int k = 0; k < 3; ++k) {
        L[0][1 + k] = L[1 + k][0] = M * (c * CosPhase[k] - s * SinPhase[k]);
        for (int j = 0; j < 3; ++j)
            L[1 + k][1 + j] = j == k ? Lp : M * std::cos(S);
    }
    Coupled.Begin(h, L);
}

void TWindings::Finish(double ue, const double (&u)[3]) {
    Coupled.Finish({ue, u[0], u[1], u[2]});
}

double TWindings::BranchEmf(int k, double ue, const double (&u)[3]) const {
    const double e = Coupled.E(k, {ue, u[0], u[1], u[2]});
    return k == 0 ? e : -e;
}

int TWindings::BranchEmfSlopes(int k, const int (&nodes)[6], TNodeSlope* out) const {
    // u_e = V(A2) − V(A1); u_c = V(pin) − V(star).
    const int from[4] = {nodes[0], nodes[2], nodes[3], nodes[4]};
    const int to[4] = {nodes[1], nodes[5], nodes[5], nodes[5]};
    return Coupled.Slopes(k, from, to, k == 0 ? 1.0 : -1.0, out);
}

double TWindings::Torque(double theta) const {
    const double c = std::cos(theta), s = std::sin(theta);
    double sum = 0;
    for (int j = 0; j < 3; ++j)
        sum += (s * CosPhase[j] + c * SinPhase[j]) * Coupled.I[1 + j];
    return -M * Coupled.I[0] * sum;
}

} // namespace Selsyn
