// Step, sine wave and ramp.
#include "blocks/Generators.h"

#include <cmath>

#include "blocks/GeneratorParams.h"
#include "blocks/GeneratorTime.h"
#include "model/ClassRegistry.h"

TStep::TStep(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::Step;
}

void TStep::ResetState() {
    h = ParamOf("h");
    t = ParamOf("t");
}

// A step at or before the start is on for the whole run.
TValue TStep::GetOutput() {
    if (t <= 0) return h;
    return TValue(this, &MemberGetter<TStep, &TStep::Value>);
}

double TStep::Value() {
    return ModelTime(*this) > t ? h : 0.0;
}

TSinusoid::TSinusoid(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::Sinusoid;
}

void TSinusoid::ResetState() {
    A = ParamOf("A");
    w = ParamOf("w");
    phi = ParamOf("phi");
}

TValue TSinusoid::GetOutput() {
    return TValue(this, &MemberGetter<TSinusoid, &TSinusoid::Value>);
}

double TSinusoid::Value() {
    return A * std::sin(w * ModelTime(*this) + phi);
}

TRamp::TRamp(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::Ramp;
}

void TRamp::ResetState() {
    h = ParamOf("h");
    t = ParamOf("t");
}

// A negative delay follows the same formula: the ramp started before the run.
TValue TRamp::GetOutput() {
    return TValue(this, &MemberGetter<TRamp, &TRamp::Value>);
}

double TRamp::Value() {
    const double now = ModelTime(*this);
    return now > t ? h * (now - t) : 0.0;
}

REGISTER_ELEMENT(TStep, TProducer);
REGISTER_ELEMENT(TSinusoid, TProducer);
REGISTER_ELEMENT(TRamp, TProducer);
