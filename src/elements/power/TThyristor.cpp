#include "elements/power/TThyristor.h"

#include <cmath>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/electrical/TDiode.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Обратное напряжение", "Uобр", Units::Voltage, 200, 2, 0},
    {"Обратный ток", "Iобр", Units::Current, 1e-05, 0, 0},
    {"Напряжение в открытом состоянии", "Uос", Units::Voltage, 1, 2, 0},
    {"Ток в открытом состоянии (ном.)", "Iос", Units::Current, 4, 2, 0},
    {"Отпирающее напряжение", "Uу", Units::Voltage, 2, 2, 0},
    {"Отпирающий ток", "Iу", Units::Current, 0.01, 1, 0},
    {"Ток удержания", "Iуд", Units::Current, 0, 0, 0},
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
    {"Разность потенциалов", "Fk", Units::Voltage, 0.7, 2, Inertial},
    {"Напряжение в открытом состоянии", "Uос_c", Units::Voltage, 1, 2, Both},
    {"Ток в открытом состоянии (раб.)", "Iprr", Units::Current, 10, 2, Both},
    {"Отпирающее напряжение", "Uу_c", Units::Voltage, 2, 2, Linear},
    {"Отпирающий ток", "Iу_c", Units::Current, 0.01, 1, Both},
    {"Обратный ток насыщения (ном.)", "isn", Units::Current, 1e-05, 0, 0},
    {"Обратный ток насыщения (раб.)", "isr", Units::Current, 1e-05, 0, Exponential},
    {"Сопротивление базы", "rб", Units::Resistance, 20, 0, Inertial},
    {"Коэффициент качества pn-перехода", "m", nullptr, 1.5, 0, Exponential | Inertial},
    {"Степень баръерной ёмкости", "n", nullptr, 1, 0, Inertial},
    {"Время жизни дырок", "tp", Units::Time, 1e-08, 3, Inertial},
    {"Тепловой потенциал (ном.)", "Phi_nom", Units::Voltage, 0.0343, 2, 0},
    {"Тепловой потенциал (раб.)", "Phi_t", Units::Voltage, 0.0343, 2, Exponential},
    {"Напряжение излома ВАХ", "Uo", Units::Voltage, 0.728, 2, Linear},
    {"Ток излома ВАХ", "Io", Units::Current, 0.1, 2, Linear},
    {"Ток удержания", "Iуд_c", Units::Current, 0, 0, Both},
    {"Температура перехода (раб.)", "Tpn_c", Units::Temperature, 398, 0, Exponential},
    {"Обратное напряжение", "Uобр_c", Units::Voltage, 200, 2, Both},
    {"Обратный ток", "Iобр_c", Units::Current, 1e-05, 0, Both},
    {},
};

const char* const Methods[] = {"Кусочно-линейный безинерционный", "Экспоненциальный безинерционный",
                               nullptr};

using T = TThyristor;

const TBranchRecord LinearBranches[] = {
    {PinTerminal("Anode"), PinTerminal("Cathode"), LiveValue(&MemberGetter<T, &T::MainConductance>),
     LiveValue(&MemberGetter<T, &T::MainEmf>), LiveValue(&MemberGetter<T, &T::MainSource>)},
    {PinTerminal("Control"), PinTerminal("Cathode"),
     LiveValue(&MemberGetter<T, &T::ControlConductance>), ConstValue(0.0), ConstValue(0.0)},
    EndRecord(),
};

const TBranchRecord ExpBranches[] = {
    {PinTerminal("Anode"), PinTerminal("Cathode"), LiveValue(&MemberGetter<T, &T::MainConductance>),
     ConstValue(0.0), LiveValue(&MemberGetter<T, &T::MainSource>)},
    {PinTerminal("Control"), PinTerminal("Cathode"),
     LiveValue(&MemberGetter<T, &T::ControlConductance>), ConstValue(0.0), ConstValue(0.0)},
    EndRecord(),
};

double Potential(const TConnector* pin) {
    return pin ? pin->GetPhi() : 0.0;
}

} // namespace

TThyristor::TThyristor(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
    DbSection = "Thyristors";
}

bool TThyristor::CalcModelParams() {
    if (MethodIndex != 0 && MethodIndex != 1) return true;
    const double iOn = ParamOf("Iос");
    const double iReverse = ParamOf("Iобр");
    if (MethodIndex == 0 && (iOn == 0 || iReverse == 0)) return false;

    auto set = [this](const char* name, double value) {
        if (ParamValue* v = FindParam(name)) v->Value = value;
    };
    const double uOn = ParamOf("Uос");
    const double tWork = ParamOf("Tpn");
    const double m = ParamOf("m");
    const auto [phiT, iprr] = FitJunction(*this, uOn, iOn);

    if (MethodIndex == 0) {
        const double A = m * phiT;
        set("Uo", uOn * (uOn - 2.4560115025 * A - 0.5 * A * std::log(uOn / A)) / (uOn - A));
        set("Io", 0.02 * iprr);
    } else {
        set("Tpn_c", tWork);
    }
    set("Uос_c", uOn);
    set("Uу_c", ParamOf("Uу"));
    set("Iу_c", ParamOf("Iу"));
    set("Iуд_c", ParamOf("Iуд"));
    set("Uобр_c", ParamOf("Uобр"));
    set("Iобр_c", iReverse);
    return true;
}

void TThyristor::ResetState() {
    anode_ = FindConnector("Anode");
    cathode_ = FindConnector("Cathode");
    control_ = FindConnector("Control");
    hold_ = FindParam("Iуд_c");
    trigger_ = FindParam("Iу_c");
    Roff = ParamOf("Uобр_c") / ParamOf("Iобр_c");
    Rg = ParamOf("Uу_c") / ParamOf("Iу_c");
    if (MethodIndex == 1) {
        Uon = ParamOf("Uос_c");
        Isr = ParamOf("isr");
        M = ParamOf("m");
        PhiT = ParamOf("Tpn_c") * ThermalVoltagePerKelvin;
        // The tangent above Uon then continues the exponential without a jump.
        if (ParamValue* v = FindParam("Iprr")) v->Value = Isr * std::exp(Uon / (M * PhiT));
        Ulow = 0.001 * Uon;
        Ilow = Isr * std::exp(Ulow / (M * PhiT));
    } else {
        Uo = ParamOf("Uo");
        Io = ParamOf("Io");
        Ron = (ParamOf("Uос_c") - Uo) / (ParamOf("Iprr") - Io);
        R1 = Uo / Io;
    }
    iprr_ = FindParam("Iprr");
    G = 1.0 / Roff;
    IsOn = false;
    evaluated_ = false;
    E_ = J_ = 0;
}

const TBranchRecord* TThyristor::GetCircuitModel() const {
    switch (MethodIndex) {
    case 0:
        return LinearBranches;
    case 1:
        return ExpBranches;
    default:
        return nullptr;
    }
}

bool TThyristor::Refuse(const std::string& text) const {
    Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) + ": " + text,
                ApplicationTitle);
    return false;
}

bool TThyristor::CheckLinearModel() const {
    if (!(RequirePositive("Uo") && RequirePositive("Io"))) return false;
    if (ParamOf("Iprr") <= ParamOf("Io"))
        return Refuse("ток в открытом состоянии Iprr должен быть больше тока излома Io.");
    if (ParamOf("Uос_c") <= ParamOf("Uo"))
        return Refuse(
            "напряжение в открытом состоянии Uос_c должно быть больше напряжения излома Uo.");
    return true;
}

bool TThyristor::CheckExpModel() const {
    if (!(RequirePositive("Uос_c") && RequirePositive("isr") && RequirePositive("m") &&
          RequirePositive("Tpn_c")))
        return false;
    const double exponent =
        ParamOf("Uос_c") / (ParamOf("m") * ParamOf("Tpn_c") * ThermalVoltagePerKelvin);
    if (std::isfinite(ParamOf("isr") * std::exp(exponent))) return true;
    return Refuse(
        "ток при напряжении в открытом состоянии Uос_c слишком велик (переполнение экспоненты).");
}

bool TThyristor::CheckBeforeRun() {
    if (!(RequirePositive("Uобр_c") && RequirePositive("Iобр_c") && RequirePositive("Uу_c") &&
          RequirePositive("Iу_c")))
        return false;
    return MethodIndex == 1 ? CheckExpModel() : CheckLinearModel();
}

int TThyristor::LoadFromStrings(std::string_view header, const std::vector<std::string>& list,
                                int index) {
    const int next = TBaseElement::LoadFromStrings(header, list, index);
    if (MethodIndex != 0 && MethodIndex != 1) {
        Msg().Warning("Компонент " + Name() + " №" + std::to_string(ElementIndex()) +
                          ": модель тиристора № " + std::to_string(MethodIndex) +
                          " не поддерживается; используется кусочно-линейная безинерционная "
                          "модель.",
                      ApplicationTitle);
        MethodIndex = 0;
        if (AutoModel) CalcModelParams();
    }
    return next;
}

double TThyristor::Voltage() const {
    return Potential(anode_) - Potential(cathode_);
}

double TThyristor::TangentSlope() const {
    const double mVt = M * PhiT;
    return Isr * std::exp(Uon / mVt) / mVt;
}

double TThyristor::TangentOffset() const {
    return TangentSlope() * Uon - (iprr_ ? iprr_->Value : 0.0);
}

void TThyristor::Latch(double v) {
    double estimate;
    // Above Uon the estimate is the tangent line itself: the previous G may
    // still be the secant of a read below Uon, and the secant with the
    // tangent's offset would put a large forward current below zero.
    if (MethodIndex == 1)
        estimate = IsOn && v > Uon ? TangentSlope() * v - TangentOffset() : G * v;
    else
        estimate = IsOn && v > Uo ? G * (v - Uo) + Io : G * v;
    const double control = (Potential(control_) - Potential(cathode_)) / Rg;
    const bool triggered = control >= (trigger_ ? trigger_->Value : 0.0) && v > 0;
    // A gate that still drives the trigger current into a forward-biased
    // thyristor keeps it on below the holding current: otherwise it would
    // fall off and fire again at alternate reads, and the step could never
    // converge. With zero holding current this never applies, as the
    // estimate is positive whenever v is.
    if (IsOn)
        IsOn = !((hold_ ? hold_->Value : 0.0) >= estimate && !triggered);
    else
        IsOn = triggered;
}

void TThyristor::Linearise(double v) {
    E_ = J_ = 0;
    if (!IsOn) {
        G = 1.0 / Roff;
        return;
    }
    if (MethodIndex == 1) {
        const double mVt = M * PhiT;
        double g;
        if (v >= Ulow) {
            if (v > Uon) {
                g = TangentSlope();
                J_ = TangentOffset();
            } else {
                g = Isr * std::exp(v / mVt) / v;
            }
        } else {
            g = v > 0 ? Ilow / Ulow : 1.0 / Roff;
        }
        G = std::abs(g);
    } else if (v >= Uo) {
        G = 1.0 / Ron;
        E_ = -Uo;
        J_ = -Io;
    } else {
        G = 1.0 / R1;
    }
}

void TThyristor::Evaluate() {
    const double time = Sheet().Run().Time;
    const double anode = Potential(anode_), cathode = Potential(cathode_);
    const double control = Potential(control_);
    if (evaluated_ && time == lastTime_ && anode == lastAnode_ && cathode == lastCathode_ &&
        control == lastControl_)
        return;
    evaluated_ = true;
    lastTime_ = time;
    lastAnode_ = anode;
    lastCathode_ = cathode;
    lastControl_ = control;
    Latch(anode - cathode);
    Linearise(anode - cathode);
}

double TThyristor::MainConductance() {
    Evaluate();
    return G;
}

double TThyristor::MainEmf() {
    Evaluate();
    return E_;
}

double TThyristor::MainSource() {
    Evaluate();
    return J_;
}

double TThyristor::ControlConductance() {
    return 1.0 / Rg;
}

REGISTER_ELEMENT(TThyristor, TBaseElement);
