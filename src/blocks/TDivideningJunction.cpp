#include "blocks/TDivideningJunction.h"

#include "blocks/StaticOutput.h"
#include "model/ClassRegistry.h"

TDivideningJunction::TDivideningJunction(Schematic& sheet) : TStatic(sheet) {}

TValue TDivideningJunction::GetOutput() {
    return LiveOutput(this);
}

// The offset keeps a divisor input of exactly 0 finite; an input of -0.001
// divides by zero and the engine stops the run on the infinity.
double TDivideningJunction::OutputValue() {
    return InputValue(0) / (InputValue(1) + 0.001);
}

REGISTER_ELEMENT(TDivideningJunction, TStatic);
