#include "elements/power/TTransistor.h"

#include <cmath>
#include <cstdio>
#include <string>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"

namespace {

const ParamDef RefParams[] = {
    {"Номинальное напряж. К-Э", "Uкэном", Units::Voltage, 10, 2, 0},
    {"Напряжение насыщения К-Э", "Uкэнас", Units::Voltage, 1, 2, 0},
    {"Номинальный ток коллектора", "Iкном", Units::Current, 5, 2, 0},
    {"Коэфф. усиления с ОЭ", "Bном", nullptr, 4, 0, 0},
    {"Тепловой обратный ток коллектора", "Iкбо", Units::Current, 1e-06, 1, 0},
    {"Темп-ра перехода (номинальная)", "Tпном", Units::Temperature, 423, 0, 0},
    {"Темп-ра перехода (рабочая)", "Tпраб", Units::Temperature, 398, 0, 0},
    {"Тип кристалла", "Тип", Units::CrystalType, 0, 0, 0},
    {},
};

const ParamDef ModelParams[] = {
    {},
};

using B = TTransistor;

const TBranchRecord Branches[] = {
    {InternalNode(0), PinTerminal("Collector"),
     ComputedValue(&MemberGetter<B, &B::SeriesConductance>), ConstValue(0.0), ConstValue(0.0)},
    {PinTerminal("Base"), InternalNode(0), LiveValue(&MemberGetter<B, &B::CollectorConductance>),
     ConstValue(0.0), LiveValue(&MemberGetter<B, &B::CollectorSource>)},
    {PinTerminal("Base"), PinTerminal("Emitter"),
     LiveValue(&MemberGetter<B, &B::EmitterConductance>), ConstValue(0.0),
     LiveValue(&MemberGetter<B, &B::EmitterSource>)},
    {InternalNode(0), PinTerminal("Emitter"), ConstValue(0.0), ConstValue(0.0),
     LiveValue(&MemberGetter<B, &B::TransportSource>)},
    EndRecord(),
};

double Potential(const TConnector* pin) {
    return pin ? pin->GetPhi() : 0.0;
}

} // namespace

TTransistor::TTransistor(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
}

bool TTransistor::CalcModelParams() {
    return true;
}

void TTransistor::ResetState() {
    base_ = FindConnector("Base");
    emitter_ = FindConnector("Emitter");
    BF = ParamOf("Bном");
    Icbo = ParamOf("Iкбо");
    Tnom = ParamOf("Tпном");
    Twork = ParamOf("Tпраб");
    Inom = ParamOf("Iкном");
    Usat = ParamOf("Uкэнас");
    Unom = ParamOf("Uкэном");
    const ParamValue* crystal = FindParam("Тип");
    Crystal = crystal && crystal->Unit == 1 ? 8 : 6;
    PhiT = K * Twork / Q;
    Rs = (Usat - std::log((BR + 1) / BR) * M * PhiT) / Inom;
    Ulow = 0.001 * Usat;
    LastTime = -1.0;
}

const TBranchRecord* TTransistor::GetCircuitModel() const {
    return Branches;
}

bool TTransistor::CheckBeforeRun() {
    if (!(RequirePositive("Iкном") && RequirePositive("Uкэном") && RequirePositive("Bном") &&
          RequirePositive("Tпраб")))
        return false;
    const double phiT = K * ParamOf("Tпраб") / Q;
    const double least = std::log((BR + 1) / BR) * M * phiT;
    if (ParamOf("Uкэнас") > least) return true;
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", least);
    Msg().Error("Компонент " + Name() + " №" + std::to_string(ElementIndex()) +
                    ": напряжение насыщения Uкэнас должно быть больше ln 2 · m · φт = " + text +
                    " В (иначе сопротивление коллектора Rs не положительно).",
                ApplicationTitle);
    return false;
}

double TTransistor::JunctionCurrent(double is, double u) const {
    return is * (std::exp(u / (M * PhiT)) - 1.0);
}

void TTransistor::Junction(double v, double is, double reverseScale, double iLow, double iSat,
                           double& g, double& j) const {
    j = 0.0;
    if (v < 0) {
        g = reverseScale / Unom;
    } else if (v < Ulow) {
        g = iLow / Ulow;
    } else if (v <= Usat) {
        // At Usat itself the secant and the tangent meet.
        g = JunctionCurrent(is, v) / v;
    } else {
        const double mVt = M * PhiT;
        g = is * std::exp(Usat / mVt) / mVt;
        j = g * Usat - iSat;
    }
}

void TTransistor::Update() {
    const TSimModel& m = Sheet().Run();
    if (m.Time > LastTime) {
        LastTime = m.Time;
        IsC = std::pow(2.0, (Twork - Tnom) / 24.5) * (BF + 1) * Icbo / (BF + 1 + BR);
        IsE = IsC * BR / BF;
        IrevE = Icbo * BR / BF * (BF + 1) / (BR + 1);
        IlowC = JunctionCurrent(IsC, Ulow);
        IsatC = JunctionCurrent(IsC, Usat);
        IlowE = JunctionCurrent(IsE, Ulow);
        IsatE = JunctionCurrent(IsE, Usat);
    }
    const double vB = Potential(base_);
    const double vC = vB - m.Potential(FNodeBase);
    const double vE = vB - Potential(emitter_);
    Junction(vC, IsC, Icbo, IlowC, IsatC, gC, jC);
    Junction(vE, IsE, IrevE, IlowE, IsatE, gE, jE);
    Icc = BR * (vC * gC - jC) - BF * (vE * gE - jE);
}

double TTransistor::CollectorConductance() {
    Update();
    return gC;
}

double TTransistor::CollectorSource() {
    Update();
    return jC;
}

double TTransistor::EmitterConductance() {
    Update();
    return gE;
}

double TTransistor::EmitterSource() {
    Update();
    return jE;
}

double TTransistor::TransportSource() {
    Update();
    return Icc;
}

double TTransistor::SeriesConductance() {
    return 1.0 / Rs;
}

REGISTER_ELEMENT(TTransistor, TBaseElement);
