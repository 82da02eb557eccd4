#include "blocks/Nonlinearities.h"

#include "blocks/StaticOutput.h"
#include "model/ClassRegistry.h"

namespace {

const ParamDef LimitParams[] = {
    {"Верхний предел", "H", nullptr, 1.0, 0, 0},
    {"Нижний предел", "L", nullptr, -1.0, 0, 0},
    {},
};

const ParamDef DeadBandParams[] = {
    {"Левая зона", "L", nullptr, -1.0, 0, 0},
    {"Правая зона", "R", nullptr, 1.0, 0, 0},
    {},
};

const ParamDef DeadLimitParams[] = {
    {"Левая зона", "ld", nullptr, -1.0, 0, 0},
    {"Правая зона", "rd", nullptr, 1.0, 0, 0},
    {"Верхний предел", "hl", nullptr, 1.0, 0, 0},
    {"Нижний предел", "ll", nullptr, -1.0, 0, 0},
    {},
};

const ParamDef GisteresisParams[] = {
    {"Верхний предел по X", "H_x", nullptr, 1.0, 0, 0},
    {"Нижний предел по X", "L_x", nullptr, -1.0, 0, 0},
    {"Верхний предел по Y", "H_y", nullptr, 1.0, 0, 0},
    {"Нижний предел по Y", "L_y", nullptr, -1.0, 0, 0},
    {},
};

} // namespace

TLimit::TLimit(Schematic& sheet) : TStatic(sheet) {
    RefParamDefs = LimitParams;
}
void TLimit::ResetState() {
    H = ParamOf("H");
    L = ParamOf("L");
}
TValue TLimit::GetOutput() {
    return LiveOutput(this);
}
double TLimit::OutputValue() {
    const double x = InputValue(0);
    if (x > H) return H;
    if (x < L) return L;
    return x;
}

TDeadBand::TDeadBand(Schematic& sheet) : TStatic(sheet) {
    RefParamDefs = DeadBandParams;
}
void TDeadBand::ResetState() {
    L = ParamOf("L");
    R = ParamOf("R");
}
TValue TDeadBand::GetOutput() {
    return LiveOutput(this);
}
double TDeadBand::OutputValue() {
    const double x = InputValue(0);
    return L <= x && x <= R ? 0.0 : x;
}

TRelay::TRelay(Schematic& sheet) : TStatic(sheet) {
    RefParamDefs = LimitParams;
}
void TRelay::ResetState() {
    H = ParamOf("H");
    L = ParamOf("L");
}
TValue TRelay::GetOutput() {
    return LiveOutput(this);
}
double TRelay::OutputValue() {
    return InputValue(0) >= 0 ? H : L;
}

TDeadLimit::TDeadLimit(Schematic& sheet) : TStatic(sheet) {
    RefParamDefs = DeadLimitParams;
}
void TDeadLimit::ResetState() {
    ld = ParamOf("ld");
    rd = ParamOf("rd");
    hl = ParamOf("hl");
    ll = ParamOf("ll");
}
TValue TDeadLimit::GetOutput() {
    return LiveOutput(this);
}
double TDeadLimit::OutputValue() {
    const double x = InputValue(0);
    if (ld <= x && x <= rd) return 0.0;
    double y = x;
    if (y >= hl) y = hl;
    // The lower limit is applied last and wins when the limits cross.
    if (y <= ll) y = ll;
    return y;
}

TGisteresis::TGisteresis(Schematic& sheet) : TStatic(sheet) {
    RefParamDefs = GisteresisParams;
}
void TGisteresis::ResetState() {
    H_x = ParamOf("H_x");
    L_x = ParamOf("L_x");
    H_y = ParamOf("H_y");
    L_y = ParamOf("L_y");
    LastOutput = L_y;
}
TValue TGisteresis::GetOutput() {
    return LiveOutput(this);
}
double TGisteresis::OutputValue() {
    const double x = InputValue(0);
    const bool high = LastOutput - L_y >= 0.00001;
    if (high)
        LastOutput = x <= L_x ? L_y : H_y;
    else
        LastOutput = x > H_x ? H_y : L_y;
    return LastOutput;
}

REGISTER_ELEMENT(TLimit, TStatic);
REGISTER_ELEMENT(TDeadBand, TStatic);
REGISTER_ELEMENT(TRelay, TStatic);
REGISTER_ELEMENT(TDeadLimit, TStatic);
REGISTER_ELEMENT(TGisteresis, TStatic);
