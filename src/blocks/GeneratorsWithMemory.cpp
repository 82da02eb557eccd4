// The generators with memory: random levels and the synchronised ramp.
#include "blocks/Generators.h"

#include <climits>
#include <cmath>
#include <cstdint>

#include "Simulation/RandomSeed.h"
#include "blocks/GeneratorParams.h"
#include "blocks/GeneratorTime.h"
#include "model/ClassRegistry.h"

namespace {

// Truncation towards zero, held inside the int range.
std::int64_t Truncated(double v, std::int64_t low, std::int64_t high) {
    if (!(v > double(low))) return low;
    if (!(v < double(high))) return high;
    return std::int64_t(v);
}

} // namespace

TGPSP::TGPSP(Schematic& sheet) : TProducer(sheet) {
    RefParamDefs = GeneratorParams::GPSP;
}

void TGPSP::ResetState() {
    max = ParamOf("max");
    min = ParamOf("min");
    T1 = ParamOf("T1");
    // Each block draws its own sequence, also when the seed is fixed.
    std::seed_seq seed{RunRandomSeed(), unsigned(ElementIndex())};
    random_.seed(seed);
}

bool TGPSP::CheckBeforeRun() {
    return RequirePositive("T1");
}

TValue TGPSP::GetOutput() {
    return TValue(this, &MemberGetter<TGPSP, &TGPSP::Output>);
}

double TGPSP::Output() {
    const double t = ModelTime(*this);
    // Reads before the run (the model dump) draw nothing.
    if (t < 0) return Value;
    const std::int64_t k = Truncated(1000.0 * t / T1, INT_MIN, INT_MAX);
    if (k != LastIndex) {
        const std::int64_t a = Truncated(1000.0 * max, INT32_MIN, INT32_MAX);
        const std::int64_t b = Truncated(1000.0 * min, INT32_MIN, INT32_MAX);
        const std::int64_t m = a - b + 1;
        const std::int64_t next = std::int64_t(random_() >> 1);
        const std::int64_t r = m == 0 ? 0 : next % m;
        Value = double(r + b) * 0.001;
    }
    LastIndex = int(k);
    return Value;
}

TSyncGPN::TSyncGPN(Schematic& sheet) : TStatic(sheet) {
    RefParamDefs = GeneratorParams::SyncGPN;
}

void TSyncGPN::ResetState() {
    Kr = ParamOf("Kr");
    LastTime = PrevInput = ResetTime = HeldOutput = 0.0;
}

TValue TSyncGPN::GetOutput() {
    return TValue(this, &MemberGetter<TSyncGPN, &TSyncGPN::Value>);
}

// Updates once per model-time value: the engine's repeated reads within a
// step return what the first read found.
double TSyncGPN::Value() {
    const double now = ModelTime(*this);
    if (now > LastTime) {
        const double x = InputValue(0);
        if (x >= 0 && PrevInput < 0) {
            HeldOutput = 0.0;
            ResetTime = now;
        } else {
            HeldOutput = (now - ResetTime) * Kr;
        }
        LastTime = now;
        PrevInput = x;
    }
    return HeldOutput;
}

REGISTER_ELEMENT(TGPSP, TProducer);
REGISTER_ELEMENT(TSyncGPN, TStatic);
