#include "elements/power/TTvf.h"

#include <cmath>
#include <string>

#include "Simulation/CircuitModel.h"
#include "Simulation/SimModel.h"
#include "elements/power/ConverterParams.h"
#include "model/ClassRegistry.h"
#include "model/Messages.h"
#include "model/Schematic.h"
#include "model/TConnector.h"
#include "params/Units.h"
#include "params/ValueText.h"

namespace {

constexpr int Ohm = 0, Kiloohm = 1;

const ParamDef RefParams[] = {
    {"Амплитуда импульсов.", "A1", Units::Blank, 1.0, 0, 0},
    {"Коэффициет передачи", "k", Converter::Transfer, 1.0, 0, 0},
    {"Выходное сопротив.", "Rg", Units::Resistance, 0.01, Ohm, 0},
    {"Входное сопротив.", "Ru", Units::Resistance, 10000, Kiloohm, 0},
    {},
};

// The methods have nothing to set: one empty row each keeps the model page.
const ParamDef ModelParams[] = {
    {"", "", nullptr, 0, 0, 1u},
    {"", "", nullptr, 0, 0, 2u},
    {},
};

const char* const Methods[] = {"Модель c длительностью импулса Т/2",
                               "Модель c длительностью импулса Т/3", nullptr};

// An open interval of the time within the period, in sixths of the period;
// FromZero closes it at 0.
struct TWindow {
    int Lo, Hi;
    bool FromZero;
};

struct TChannelWindows {
    TWindow On[2];
    TWindow Off[2];
};

constexpr TWindow None{0, 0, false};

// Per method and channel; a time on no window's inside (a boundary) keeps
// the channel's output.
constexpr TChannelWindows Windows[2][6] = {
    {
        {{{0, 3, false}, None}, {{3, 6, false}, None}},
        {{{1, 4, false}, None}, {{0, 1, true}, {4, 6, false}}},
        {{{2, 5, false}, None}, {{0, 2, true}, {5, 6, false}}},
        {{{3, 6, false}, None}, {{0, 3, false}, None}},
        {{{0, 1, true}, {4, 6, false}}, {{1, 4, false}, None}},
        {{{0, 2, true}, {5, 6, false}}, {{2, 5, false}, None}},
    },
    {
        {{{0, 2, false}, None}, {{2, 6, false}, None}},
        {{{1, 3, false}, None}, {{0, 1, true}, {3, 6, false}}},
        {{{2, 4, false}, None}, {{0, 2, true}, {4, 6, false}}},
        {{{3, 5, false}, None}, {{0, 3, true}, {5, 6, false}}},
        {{{4, 6, false}, None}, {{0, 4, true}, None}},
        {{{0, 1, true}, {5, 6, false}}, {{1, 5, false}, None}},
    },
};

// The phase is the time within the period over the period.
bool Inside(const TWindow& w, double phase) {
    if (w.Hi == 0) return false;
    const bool above = w.FromZero ? phase >= 0 : phase > w.Lo / 6.0;
    return above && phase < w.Hi / 6.0;
}

bool InsideAny(const TWindow (&windows)[2], double phase) {
    return Inside(windows[0], phase) || Inside(windows[1], phase);
}

using V = TTvf;

template <int Channel> constexpr TBranchRecord ChannelBranch(const char* first, const char* second) {
    return {PinTerminal(second), PinTerminal(first),
            ComputedValue(&MemberGetter<V, &V::OutputConductance>),
            StepValue(&MemberGetter<V, &V::ChannelEmf<Channel>>), ConstValue(0.0)};
}

const TBranchRecord Branches[] = {
    ChannelBranch<0>("Connector1", "Connector1_"),
    ChannelBranch<1>("Connector2", "Connector2_"),
    ChannelBranch<2>("Connector3", "Connector3_"),
    ChannelBranch<3>("Connector4", "Connector4_"),
    ChannelBranch<4>("Connector5", "Connector5_"),
    ChannelBranch<5>("Connector6", "Connector6_"),
    {PinTerminal("U2"), PinTerminal("U1"), ComputedValue(&MemberGetter<V, &V::InputConductance>),
     ConstValue(0.0), ConstValue(0.0)},
    EndRecord(),
};

} // namespace

TTvf::TTvf(Schematic& sheet) : TBaseElement(sheet) {
    RefParamDefs = RefParams;
    ModelParamDefs = ModelParams;
    ModelMethods = Methods;
    DbSection = "Tvfs";
}

void TTvf::ResetState() {
    u1_ = FindConnector("U1");
    u2_ = FindConnector("U2");
    A1 = ParamOf("A1");
    Rg = ParamOf("Rg");
    Ru = ParamOf("Ru");
    K = Converter::TruncatedTransfer(ParamOf("k"));
    Period = 0.02;
    Phase = 0;
    LastTime = -1.0;
    for (double& out : ChannelOutput) out = 0;
}

const TBranchRecord* TTvf::GetCircuitModel() const {
    return Branches;
}

bool TTvf::CheckBeforeRun() {
    return Converter::CheckBeforeRun(*this, "при входном напряжении от 1 В частота импульсов равна нулю.");
}

double TTvf::OutputConductance() {
    return 1.0 / Rg;
}

double TTvf::InputConductance() {
    return 1.0 / Ru;
}

void TTvf::Update() {
    const double now = Sheet().Run().Time;
    if (!(now > LastTime)) return;
    const double u = (u1_ ? u1_->GetPhi() : 0.0) - (u2_ ? u2_->GetPhi() : 0.0);
    const double omega = u >= 1 ? TwoPi * K * u : 100 * Pi;
    Period = TwoPi / omega;
    // The phase advances by the present frequency over the step, so that a
    // changing control keeps the pulse frequency it asks for (the fraction of
    // the model time over the present period would run faster while it
    // changes); at frequency 0 the pattern stands still.
    if (LastTime >= 0) {
        const double cycles = Phase + (now - LastTime) * omega / TwoPi;
        Phase = cycles - std::floor(cycles);
        if (Phase >= 1) Phase = 0;  // a tiny negative fraction rounds up to 1
    }
    LastTime = now;
    const int method = MethodIndex == 1 ? 1 : 0;
    for (int n = 0; n < 6; ++n) {
        const TChannelWindows& w = Windows[method][n];
        if (InsideAny(w.On, Phase))
            ChannelOutput[n] = A1;
        else if (InsideAny(w.Off, Phase))
            ChannelOutput[n] = 0;
    }
}

REGISTER_ELEMENT(TTvf, TBaseElement);
