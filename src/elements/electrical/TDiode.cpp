#include "elements/electrical/TDiode.h"

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Обратное напряжение", "Uобр", Units::Voltage, 200, 2, 0},
    {"Обратный ток", "Iобр", Units::Current, 1e-05, 0, 0},
    {"Прямое напряжение", "Uпр", Units::Voltage, 1, 2, 0},
    {"Прямой ток (ном.)", "Iпр", Units::Current, 10, 2, 0},
    {"Ёмкость перехода", "Cд", Units::Capacitance, 5.5e-10, 0, 0},
    {"Тип кристалла", "Тип", Units::CrystalType, 0, 0, 0},
    {"Температура перехода (ном.)", "Tпмакс", Units::Temperature, 423, 0, 0},
    {"Температура перехода (раб.)", "Tpn", Units::Temperature, 398, 0, 0},
    {},
};

// Method masks: bit 0 the piecewise-linear model, bit 1 the exponential one,
// bit 2 the inertial model that the method list does not offer.
constexpr std::uint32_t Linear = 1u, Exponential = 2u, Both = 3u, Inertial = 4u;

const ParamDef ModelParams[] = {
    {"Разность потенциалов", "Fk", nullptr, 0.7, 0, Inertial},
    {"Прямое напряжение", "Upr_c", nullptr, 1, 0, Both},
    {"Прямой ток (раб.)", "Iprr", nullptr, 10, 0, Linear},
    {"Обратный ток насыщения (ном.)", "isn", nullptr, 1e-05, 0, 0},
    {"Обратный ток насыщения (раб.)", "isr", nullptr, 1e-05, 0, Exponential},
    {"Сопротивление базы", "rб", nullptr, 20, 0, Inertial},
    {"Коэффициент качества pn-перехода", "m", nullptr, 1.5, 0, Exponential},
    {"Степень баръерной ёмкости", "n", nullptr, 1, 0, Inertial},
    {"Время жизни дырок", "tp", nullptr, 1e-08, 0, Inertial},
    {"Тепловой потенциал (раб.)", "Phi_t", nullptr, 0.0343, 0, 0},
    {"Тепловой потенциал (ном.)", "Phi_nom", nullptr, 0.0343, 0, 0},
    {"Напряжение излома ВАХ", "Uo", nullptr, 0.728, 0, Linear},
    {"Ток излома ВАХ", "Io", nullptr, 0.1, 0, Linear},
    {"Температура перехода (раб.)", "Tpn_c", nullptr, 398, 0, Exponential},
    {"Обратное напряжение", "Uобр_c", nullptr, 200, 0, Both},
    {"Обратный ток", "Iобр_c", nullptr, 1e-05, 0, Both},
    {},
};

const char* const Methods[] = {"Кусочно-линейный безинерционный", "Экспоненциальный безинерционный",
                               nullptr};

using D = TDiode;

const TBranchRecord LinearBranches[] = {
    {PinTerminal("Anode"), PinTerminal("Cathode"),
     LiveValue(&MemberGetter<D, &D::LinearConductance>), LiveValue(&MemberGetter<D, &D::LinearEmf>),
     LiveValue(&MemberGetter<D, &D::LinearSource>)},
    EndRecord(),
};

const TBranchRecord ExpBranches[] = {
    {PinTerminal("Anode"), PinTerminal("Cathode"), LiveValue(&MemberGetter<D, &D::ExpConductance>),
     ConstValue(0.0), LiveValue(&MemberGetter<D, &D::ExpSource>)},
    EndRecord(),
};

} // namespace

TDiode::TDiode(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
    DbSection = "Diodes";
}

bool TDiode::CalcModelParams() {
    const double iForward = ParamOf("Iпр");
    const double iReverse = ParamOf("Iобр");
    if (MethodIndex == 0 && (iForward == 0 || iReverse == 0)) return false;
    if (MethodIndex != 0 && MethodIndex != 1) return true;

    auto set = [this](const char* name, double value) {
        if (ParamValue* v = FindParam(name)) v->Value = value;
    };
    const double uForward = ParamOf("Uпр");
    const double tWork = ParamOf("Tpn");
    const double m = ParamOf("m");
    const auto [phiT, iprr] = FitJunction(*this, uForward, iForward);

    set("Uобр_c", ParamOf("Uобр"));
    set("Iобр_c", iReverse);
    set("Upr_c", uForward);
    if (MethodIndex == 0) {
        const double A = m * phiT;
        const double L = std::log(uForward / A);
        set("Uo", (-2.5e-9 * uForward) * (-4e8 * uForward + 982404601 * A + 2e8 * A * L) /
                      (uForward - A));
        set("Io", 0.02 * iprr);
    } else {
        set("Tpn_c", tWork);
    }
    return true;
}

void TDiode::ResetState() {
    anode_ = FindConnector("Anode");
    cathode_ = FindConnector("Cathode");
    iprr_ = FindParam("Iprr");
    Rr = ParamOf("Uобр_c") / ParamOf("Iобр_c");
    if (MethodIndex == 1) {
        Upr = ParamOf("Upr_c");
        Is = ParamOf("isr");
        m = ParamOf("m");
        Vt = ParamOf("Tpn_c") * ThermalVoltagePerKelvin;
        U1 = 0.001 * Upr;
        I1 = Is * std::exp(U1 / (m * Vt));
        // The tangent above Upr then continues the exponential without a jump.
        if (ParamValue* v = FindParam("Iprr")) v->Value = Is * std::exp(Upr / (m * Vt));
    } else {
        Uo = ParamOf("Uo");
        Io = ParamOf("Io");
        Rf = (ParamOf("Upr_c") - Uo) / (ParamOf("Iprr") - Io);
        Rl = Uo / Io;
    }
}

const TBranchRecord* TDiode::GetCircuitModel() const {
    switch (MethodIndex) {
    case 0:
        return LinearBranches;
    case 1:
        return ExpBranches;
    default:
        return nullptr;
    }
}

bool TDiode::CheckLinearModel() const {
    bool ok = RequirePositive("Uo") && RequirePositive("Io");
    if (ok && ParamOf("Upr_c") <= ParamOf("Uo")) {
        Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) +
                        ": прямое напряжение Upr_c должно быть больше напряжения излома Uo.",
                    ApplicationTitle);
        ok = false;
    }
    if (ok && ParamOf("Iprr") <= ParamOf("Io")) {
        Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) +
                        ": прямой ток Iprr должен быть больше тока излома Io.",
                    ApplicationTitle);
        ok = false;
    }
    return ok;
}

bool TDiode::CheckExpModel() const {
    if (!(RequirePositive("Upr_c") && RequirePositive("isr") && RequirePositive("m") &&
          RequirePositive("Tpn_c")))
        return false;
    const double exponent =
        ParamOf("Upr_c") / (ParamOf("m") * ParamOf("Tpn_c") * ThermalVoltagePerKelvin);
    if (std::isfinite(ParamOf("isr") * std::exp(exponent))) return true;
    Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) +
                    ": ток при прямом напряжении Upr_c слишком велик (переполнение экспоненты).",
                ApplicationTitle);
    return false;
}

bool TDiode::CheckBeforeRun() {
    if (!(RequirePositive("Uобр_c") && RequirePositive("Iобр_c"))) return false;
    return MethodIndex == 1 ? CheckExpModel() : CheckLinearModel();
}

int TDiode::LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                            int index) {
    const int next = TBaseElement::LoadFromStrings(header, list, index);
    if (MethodIndex != 0 && MethodIndex != 1) {
        Msg().Warning(
            "Компонент " + Name() + " №" + std::to_string(ElementIndex()) + ": модель диода № " +
                std::to_string(MethodIndex) +
                " не поддерживается; используется кусочно-линейная безинерционная модель.",
            ApplicationTitle);
        MethodIndex = 0;
        if (AutoModel) CalcModelParams();
    }
    return next;
}

double TDiode::Voltage() const {
    return (anode_ ? anode_->GetPhi() : 0.0) - (cathode_ ? cathode_->GetPhi() : 0.0);
}

double TDiode::LinearConductance() {
    const double v = Voltage();
    if (v >= Uo) return 1.0 / Rf;
    return v >= 0 ? 1.0 / Rl : 1.0 / Rr;
}

double TDiode::LinearEmf() {
    return Voltage() >= Uo ? -Uo : 0.0;
}

double TDiode::LinearSource() {
    return Voltage() >= Uo ? -Io : 0.0;
}

double TDiode::ExpConductance() {
    const double v = Voltage();
    const double mVt = m * Vt;
    double G;
    if (v >= U1) {
        G = v > Upr ? std::exp(Upr / mVt) * Is / mVt // the slope at Upr
                    : Is * std::exp(v / mVt) / v;    // the secant to the exponential
    } else {
        G = v > 0 ? I1 / U1 : 1.0 / Rr;
    }
    return std::abs(G);
}

double TDiode::ExpSource() {
    if (Voltage() <= Upr) return 0.0;
    const double mVt = m * Vt;
    return std::exp(Upr / mVt) * Is * Upr / mVt - (iprr_ ? iprr_->Value : 0.0);
}

TJunctionFit FitJunction(TBaseElement& e, double u, double i) {
    auto set = [&e](const char* name, double value) {
        if (ParamValue* v = e.FindParam(name)) v->Value = value;
    };
    const double tMax = e.ParamOf("Tпмакс");
    const double tWork = e.ParamOf("Tpn");
    const double m = e.ParamOf("m");
    const double phiNom = tMax * ThermalVoltagePerKelvin;
    const double phiT = tWork * ThermalVoltagePerKelvin;
    // Silicon halves its saturation current every 8 K less, germanium every 6 K.
    const ParamValue* crystal = e.FindParam("Тип");
    const double halving = crystal && crystal->Unit == 0 ? 8.0 : 6.0;
    const double isn = i / std::exp(u / (m * phiNom));
    const double isr = isn * std::pow(2.0, (tWork - tMax) / halving);
    const double iprr = isr * std::exp(u / (m * phiT));
    set("Phi_nom", phiNom);
    set("Phi_t", phiT);
    set("isn", isn);
    set("isr", isr);
    set("Iprr", iprr);
    return {phiT, iprr};
}

REGISTER_ELEMENT(TDiode, TBaseElement);
