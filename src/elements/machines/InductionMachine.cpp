#include "elements/machines/InductionMachine.h"

#include <cmath>

#include "elements/machines/DcArmature.h"
#include "model/TBaseElement.h"
#include "params/Units.h"

namespace Induction {

namespace {

using namespace LoadTorque;

constexpr double Shift = 2.0943951023931953; // 2π/3

// The phase shift of the coupling of stator phase k with rotor phase j.
double Phase(int k, int j) {
    switch ((j - k + 3) % 3) {
    case 1:
        return Shift;
    case 2:
        return -Shift;
    default:
        return 0.0;
    }
}

} // namespace

const UnitDef ThreePhaseOutput[] = {{"w,рад/с ", 0},         {"n,об/мин", 0},
                                    {"n,об/с", 0},           {"М вращ.,H м  ", 0},
                                    {"M сопр.,Н м", 0},      {"М дин.,Н м", 0},
                                    {"Ток рот.обм.a, А", 0}, {"Ток рот.обм.b, А", 0},
                                    {"Ток рот.обм.c, А", 0}, {}};

const char* const Methods[] = {"Модель постоянного момента",
                               "Модель гармонического момента",
                               "Модель момента сухого трения",
                               "Модель момента вязкого трения",
                               "Модель упругого момента",
                               "Модель суммарного момента ",
                               nullptr};

const ParamDef ThreePhaseRefParams[] = {
    {"Выходная величина", "vv", ThreePhaseOutput, 0, 0, 0},
    {"Момент инерции", "Jd", Units::Inertia, 5e-05, 0, 0},
    {"Сопротивление обмот"
     "o"
     "к статора",
     "Rc", Units::Resistance, 1, 0, 0},
    {"Индуктивность обмоток статора", "Lc", Units::Inductance, 0.002, 1, 0},
    {"Сопротивление обмоток ротора", "Rp", Units::Resistance, 20, 0, 0},
    {"Индуктивность обмоток ротора", "Lp", Units::Inductance, 0.004, 1, 0},
    {"Макс. взаимная индукт.", "M", Units::Inductance, 0.001, 1, 0},
    {},
};

const ParamDef ThreePhaseModelParams[] = {
    InSum(McRow, 5),   InSum(MgRow, 5), InSum(WRow, 5),   InSum(RadRow, 5),     InSum(MsRow, 5),
    InSum(WnomRow, 5), InSum(MvRow, 5), InSum(LLLRow, 5), InSum(MuShortRow, 5), {},
};

bool CheckThreePhase(const TBaseElement& e) {
    return e.RequirePositive("Jd") && e.RequirePositive("Rc") && e.RequirePositive("Lc") &&
           e.RequirePositive("Rp") && e.RequirePositive("Lp") && e.RequirePositive("M") &&
           DcMachine::RequireOption(e, "vv") && DcMachine::RequireMethod(e);
}

double AwayFromZero(double v, double limit) {
    if (std::abs(v) >= limit) return v;
    return v < 0 ? -limit : limit;
}

void TThreePhase::Reset(const TBaseElement& e) {
    *this = TThreePhase{};
    Rc = e.ParamOf("Rc");
    Lc = e.ParamOf("Lc");
    Rp = e.ParamOf("Rp");
    Lp = e.ParamOf("Lp");
    M = e.ParamOf("M");
    J = e.ParamOf("Jd");
    Ml = e.ParamOf("Mc");
}

TThreePhase::TStator TThreePhase::Stator(double dt) const {
    TStator st;
    const double ar = Rp * dt + Lp, br = M * std::cos(Shift);
    const double detR = AwayFromZero(ar * ar * ar + 2 * br * br * br - 3 * ar * br * br, 1e-10);
    st.RotorInv[0] = (ar * ar - br * br) / detR;
    st.RotorInv[1] = (br * br - ar * br) / detR;
    for (int k = 0; k < 3; ++k) {
        double sum = 0;
        for (int j = 0; j < 3; ++j)
            sum += st.RotorInv[k == j ? 0 : 1] * std::cos(Theta + Phase(0, j));
        st.X[k] = AwayFromZero(M * sum, 1e-10);
    }
    const double* x = st.X;
    const double cs = std::cos(Theta), cp = std::cos(Theta + Shift), cm = std::cos(Theta - Shift);
    const double ms = M * std::cos(Shift);
    const double A0 = Rc * dt + Lc - M * (x[0] * cs + x[1] * cp + x[2] * cm);
    const double A1 = ms - M * (x[0] * cp + x[1] * cm + x[2] * cs);
    const double A2 = ms - M * (x[0] * cm + x[1] * cs + x[2] * cp);
    const double detS =
        AwayFromZero(A0 * A0 * A0 + A1 * A1 * A1 + A2 * A2 * A2 - 3 * A0 * A1 * A2, 1e-10);
    st.Inv0 = (A0 * A0 - A1 * A2) / detS;
    st.InvNext = (A1 * A1 - A2 * A0) / detS;
    st.InvPrev = (A2 * A2 - A1 * A0) / detS;
    return st;
}

TThreePhase TThreePhase::Mirrored() const {
    TThreePhase m = *this;
    m.Rc = Rp;
    m.Lc = Lp;
    m.Rp = Rc;
    m.Lp = Lc;
    m.Theta = -Theta;
    return m;
}

void TThreePhase::Preset(double h) {
    const double g = h * Stator(h).Inv0;
    const double gr = WoundRotor ? h * Mirrored().Stator(h).Inv0 : 0.0;
    G = {g, g, g, gr, gr, gr};
}

void TThreePhase::Step(double t, const std::array<double, 3>& us, const std::array<double, 3>& ur,
                       LoadTorque::TModel& load) {
    dt = t - t0;
    Ml = load.Step(t, W0, dt);
    Us = us;
    Ur = ur;

    double msr[3][3];
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 3; ++j)
            msr[k][j] = M * std::cos(Theta + Phase(k, j));
    const TStator st = Stator(dt);
    const double* x = st.X;
    auto rotorInv = [&](int k, int j) { return st.RotorInv[k == j ? 0 : 1]; };
    const double ms = M * std::cos(Shift);

    // The rotor windings see Ψ_r,prev + dt·u_r wherever Ψ_r,prev enters.
    std::array<double, 3> rotorRhs;
    for (int j = 0; j < 3; ++j)
        rotorRhs[j] = PsiPrev[3 + j] + dt * ur[j];
    std::array<double, 3> c, b;
    for (int k = 0; k < 3; ++k) {
        double coupled = 0;
        for (int j = 0; j < 3; ++j)
            coupled += x[(j - k + 3) % 3] * rotorRhs[j];
        c[k] = PsiPrev[k] - coupled;
        b[k] = dt * us[k] + c[k];
    }

    const double inv0 = st.Inv0, invNext = st.InvNext, invPrev = st.InvPrev;
    for (int k = 0; k < 3; ++k) {
        const int n = (k + 1) % 3, p = (k + 2) % 3;
        G[k] = dt * inv0;
        E[k] = -c[k] / dt;
        Jsrc[k] = invPrev * b[p] + invNext * b[n];
        Is[k] = inv0 * b[k] + Jsrc[k];
    }

    // The rotor branches present the rotor currents the same way, from the
    // rotor side: its own voltage taken implicitly, the stator's and the
    // other rotor phases' from the last solution.
    if (WoundRotor) {
        const TStator rs = Mirrored().Stator(dt);
        std::array<double, 3> cr, br;
        for (int j = 0; j < 3; ++j) {
            double coupled = 0;
            for (int k = 0; k < 3; ++k)
                coupled += rs.X[(k - j + 3) % 3] * (PsiPrev[k] + dt * us[k]);
            cr[j] = PsiPrev[3 + j] - coupled;
            br[j] = dt * ur[j] + cr[j];
        }
        for (int j = 0; j < 3; ++j) {
            const int n = (j + 1) % 3, p = (j + 2) % 3;
            G[3 + j] = dt * rs.Inv0;
            E[3 + j] = -cr[j] / dt;
            Jsrc[3 + j] = rs.InvPrev * br[p] + rs.InvNext * br[n];
        }
    }

    for (int j = 0; j < 3; ++j) {
        double sum = 0;
        for (int m = 0; m < 3; ++m) {
            double cm2 = 0;
            for (int k = 0; k < 3; ++k)
                cm2 += msr[k][m] * Is[k];
            sum += rotorInv(j, m) * (rotorRhs[m] - cm2);
        }
        Ir[j] = sum;
    }
    for (int k = 0; k < 3; ++k) {
        double s = Lc * Is[k], r = Lp * Ir[k];
        for (int j = 0; j < 3; ++j) {
            if (j != k) {
                s += ms * Is[j];
                r += ms * Ir[j];
            }
            s += msr[k][j] * Ir[j];
            r += msr[j][k] * Is[j];
        }
        Psi[k] = s;
        Psi[3 + k] = r;
    }

    double te = 0;
    for (int k = 0; k < 3; ++k)
        for (int j = 0; j < 3; ++j)
            te += Is[k] * std::sin(Theta + Phase(k, j)) * Ir[j];
    Te = -M * te;

    W = W0 + (Te - Ml) * dt / J;
    Dynamic = J * (W - W0) / dt;
    Theta += dt * W;
    PsiPrev = Psi;
    t0 = t;
    W0 = W;
}

double TThreePhase::Output(int choice) const {
    switch (choice) {
    case 1:
        return W * 60 * DcMachine::PerTurn;
    case 2:
        return W * DcMachine::PerTurn;
    case 3:
        return Te;
    case 4:
        return Ml;
    case 5:
        return Dynamic;
    case 6:
    case 7:
    case 8:
        return Ir[choice - 6];
    default:
        return W;
    }
}

} // namespace Induction
