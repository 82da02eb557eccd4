// Periodic pulses and sawtooth waves.
#include "blocks/Generators.h"

#include <cmath>

#include "blocks/GeneratorParams.h"
#include "blocks/GeneratorTime.h"
#include "model/ClassRegistry.h"
#include "params/Units.h"

TGRI::TGRI(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::GRI;
}

void TGRI::ResetState() {
    A1 = ParamOf("A1");
    t1 = ParamOf("t1");
    L1 = ParamOf("L1");
    A2 = ParamOf("A2");
    t2 = ParamOf("t2");
    L2 = ParamOf("L2");
    w = ParamOf("w");
}

bool TGRI::CheckBeforeRun() {
    return RequirePositive("w");
}

TValue TGRI::GetOutput() {
    return TValue(this, &MemberGetter<TGRI, &TGRI::Value>);
}

// The positive pulse wins where the two overlap; neither wraps past the
// end of the period.
double TGRI::Value() {
    const double T = TwoPi / w;
    const double phi = PeriodFraction(ModelTime(*this), T);
    if (t1 / T < phi && phi < (t1 + L1) / T) return A1;
    if (t2 / T < phi && phi < (t2 + L2) / T) return -A2;
    return 0.0;
}

TTrap::TTrap(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::Trap;
}

void TTrap::ResetState() {
    A1 = ParamOf("A1");
    tp1 = ParamOf("tp1");
    tp2 = ParamOf("tp2");
    L1 = ParamOf("L1");
    tp3 = ParamOf("tp3");
    A2 = ParamOf("A2");
    to1 = ParamOf("to1");
    to2 = ParamOf("to2");
    L2 = ParamOf("L2");
    to3 = ParamOf("to3");
    w = ParamOf("w");
}

bool TTrap::CheckBeforeRun() {
    return RequirePositive("w");
}

TValue TTrap::GetOutput() {
    return TValue(this, &MemberGetter<TTrap, &TTrap::Value>);
}

// Segments include their start and exclude their end, so an edge of zero
// duration is never entered and its slope never computed.
double TTrap::Value() {
    const double T = TwoPi / w;
    const double tau = PeriodFraction(ModelTime(*this), T) * T;
    const double E1 = tp1 + tp2 + L1 + tp3;
    const double E2 = to1 + to2 + L2 + to3;
    auto in = [tau](double from, double to) { return from <= tau && tau < to; };
    if (in(0, tp1)) return 0.0;
    if (in(tp1, tp1 + tp2)) return A1 * (tau - tp1) / tp2;
    if (in(tp1 + tp2, tp1 + tp2 + L1)) return A1;
    if (in(tp1 + tp2 + L1, E1)) return A1 * (E1 - tau) / tp3;
    if (in(E1, to1)) return 0.0;
    if (in(to1, to1 + to2)) return -A2 * (tau - to1) / to2;
    if (in(to1 + to2, to1 + to2 + L2)) return -A2;
    if (in(to1 + to2 + L2, E2)) return -A2 * (E2 - tau) / to3;
    return 0.0;
}

TTreu::TTreu(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::Treu;
}

void TTreu::ResetState() {
    A1 = ParamOf("A1");
    w = ParamOf("w");
}

bool TTreu::CheckBeforeRun() {
    return RequirePositive("w");
}

TValue TTreu::GetOutput() {
    return TValue(this, &MemberGetter<TTreu, &TTreu::Value>);
}

double TTreu::Value() {
    const double phi = PeriodFraction(ModelTime(*this), TwoPi / w);
    if (phi < 0.25) return 4 * A1 * phi;
    if (phi < 0.75) return 2 * A1 - 4 * A1 * phi;
    return 4 * A1 * phi - 4 * A1;
}

TAngel::TAngel(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::Angel;
}

void TAngel::ResetState() {
    AA = ParamOf("AA");
    wA = ParamOf("wA");
}

bool TAngel::CheckBeforeRun() {
    return RequirePositive("wA");
}

TValue TAngel::GetOutput() {
    return TValue(this, &MemberGetter<TAngel, &TAngel::Value>);
}

double TAngel::Value() {
    const double periods = ModelTime(*this) * wA / TwoPi;
    return AA * (periods - std::fabs(std::trunc(periods)));
}

TPilaP::TPilaP(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::PilaP;
}

void TPilaP::ResetState() {
    A1 = ParamOf("A1");
    w = ParamOf("w");
}

bool TPilaP::CheckBeforeRun() {
    return RequirePositive("w");
}

TValue TPilaP::GetOutput() {
    return TValue(this, &MemberGetter<TPilaP, &TPilaP::Value>);
}

double TPilaP::Value() {
    return A1 * PeriodFraction(ModelTime(*this), TwoPi / w);
}

TPilaO::TPilaO(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::PilaO;
}

void TPilaO::ResetState() {
    A1 = ParamOf("A1");
    w = ParamOf("w");
}

bool TPilaO::CheckBeforeRun() {
    return RequirePositive("w");
}

TValue TPilaO::GetOutput() {
    return TValue(this, &MemberGetter<TPilaO, &TPilaO::Value>);
}

double TPilaO::Value() {
    return A1 - A1 * PeriodFraction(ModelTime(*this), TwoPi / w);
}

REGISTER_ELEMENT(TGRI, TProducer);
REGISTER_ELEMENT(TTrap, TProducer);
REGISTER_ELEMENT(TTreu, TProducer);
REGISTER_ELEMENT(TAngel, TProducer);
REGISTER_ELEMENT(TPilaP, TProducer);
REGISTER_ELEMENT(TPilaO, TProducer);
