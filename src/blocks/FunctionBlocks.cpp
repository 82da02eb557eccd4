#include "blocks/FunctionBlocks.h"

#include <cmath>

#include "blocks/StaticOutput.h"
#include "model/ClassRegistry.h"

TAbs::TAbs(Schematic& sheet) : TStatic(sheet) {}
TValue TAbs::GetOutput() {
    return LiveOutput(this);
}
double TAbs::OutputValue() {
    const double x = InputValue(0);
    return x >= 0 ? x : -x;
}

TSInv::TSInv(Schematic& sheet) : TStatic(sheet) {}
TValue TSInv::GetOutput() {
    return LiveOutput(this);
}
double TSInv::OutputValue() {
    const double x = InputValue(0);
    return -x;
}

TSVer::TSVer(Schematic& sheet) : TStatic(sheet) {}
TValue TSVer::GetOutput() {
    return LiveOutput(this);
}
double TSVer::OutputValue() {
    const double x = InputValue(0);
    return -0.0000001 < x && x < 0.0000001 ? 0.0 : 1.0 / x;
}

TSSign::TSSign(Schematic& sheet) : TStatic(sheet) {}
TValue TSSign::GetOutput() {
    return LiveOutput(this);
}
double TSSign::OutputValue() {
    const double x = InputValue(0);
    return x > 0 ? 1.0 : x < 0 ? -1.0 : x;
}

Tssin::Tssin(Schematic& sheet) : TStatic(sheet) {}
TValue Tssin::GetOutput() {
    return LiveOutput(this);
}
double Tssin::OutputValue() {
    const double x = InputValue(0);
    return std::sin(x);
}

TScos::TScos(Schematic& sheet) : TStatic(sheet) {}
TValue TScos::GetOutput() {
    return LiveOutput(this);
}
double TScos::OutputValue() {
    const double x = InputValue(0);
    return std::cos(x);
}

TStan::TStan(Schematic& sheet) : TStatic(sheet) {}
TValue TStan::GetOutput() {
    return LiveOutput(this);
}
double TStan::OutputValue() {
    const double x = InputValue(0);
    return std::tan(x);
}

TSasin::TSasin(Schematic& sheet) : TStatic(sheet) {}
TValue TSasin::GetOutput() {
    return LiveOutput(this);
}
double TSasin::OutputValue() {
    const double x = InputValue(0);
    return std::asin(x);
}

TSacos::TSacos(Schematic& sheet) : TStatic(sheet) {}
TValue TSacos::GetOutput() {
    return LiveOutput(this);
}
double TSacos::OutputValue() {
    const double x = InputValue(0);
    return std::acos(x);
}

TSatan::TSatan(Schematic& sheet) : TStatic(sheet) {}
TValue TSatan::GetOutput() {
    return LiveOutput(this);
}
double TSatan::OutputValue() {
    const double x = InputValue(0);
    return std::atan(x);
}

TSsinh::TSsinh(Schematic& sheet) : TStatic(sheet) {}
TValue TSsinh::GetOutput() {
    return LiveOutput(this);
}
double TSsinh::OutputValue() {
    const double x = InputValue(0);
    return std::sinh(x);
}

TScosh::TScosh(Schematic& sheet) : TStatic(sheet) {}
TValue TScosh::GetOutput() {
    return LiveOutput(this);
}
double TScosh::OutputValue() {
    const double x = InputValue(0);
    return std::cosh(x);
}

TStanh::TStanh(Schematic& sheet) : TStatic(sheet) {}
TValue TStanh::GetOutput() {
    return LiveOutput(this);
}
double TStanh::OutputValue() {
    const double x = InputValue(0);
    return std::tanh(x);
}

TSexp::TSexp(Schematic& sheet) : TStatic(sheet) {}
TValue TSexp::GetOutput() {
    return LiveOutput(this);
}
double TSexp::OutputValue() {
    const double x = InputValue(0);
    return std::exp(x);
}

TSln::TSln(Schematic& sheet) : TStatic(sheet) {}
TValue TSln::GetOutput() {
    return LiveOutput(this);
}
double TSln::OutputValue() {
    const double x = InputValue(0);
    return std::log(x);
}

TSlg::TSlg(Schematic& sheet) : TStatic(sheet) {}
TValue TSlg::GetOutput() {
    return LiveOutput(this);
}
double TSlg::OutputValue() {
    const double x = InputValue(0);
    return std::log10(x);
}

TSsqrt::TSsqrt(Schematic& sheet) : TStatic(sheet) {}
TValue TSsqrt::GetOutput() {
    return LiveOutput(this);
}
double TSsqrt::OutputValue() {
    const double x = InputValue(0);
    return std::sqrt(x);
}

REGISTER_ELEMENT(TAbs, TStatic);
REGISTER_ELEMENT(TSInv, TStatic);
REGISTER_ELEMENT(TSVer, TStatic);
REGISTER_ELEMENT(TSSign, TStatic);
REGISTER_ELEMENT(Tssin, TStatic);
REGISTER_ELEMENT(TScos, TStatic);
REGISTER_ELEMENT(TStan, TStatic);
REGISTER_ELEMENT(TSasin, TStatic);
REGISTER_ELEMENT(TSacos, TStatic);
REGISTER_ELEMENT(TSatan, TStatic);
REGISTER_ELEMENT(TSsinh, TStatic);
REGISTER_ELEMENT(TScosh, TStatic);
REGISTER_ELEMENT(TStanh, TStatic);
REGISTER_ELEMENT(TSexp, TStatic);
REGISTER_ELEMENT(TSln, TStatic);
REGISTER_ELEMENT(TSlg, TStatic);
REGISTER_ELEMENT(TSsqrt, TStatic);
