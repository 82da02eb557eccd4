#pragma once

#include "blocks/Families.h"
#include "model/TBaseElement.h"

// A framed box with a "T" in the middle, the picture of test elements.
TPicture TestBoxPicture(int w, int h);

// Small element classes registered for tests of the base machinery, so those
// tests do not depend on the real element modules.

// Two electrical pins, a resistance with units.
class TTestTwoPin : public TBaseElement {
public:
    explicit TTestTwoPin(Schematic& sheet);
};

// Three pins placed off-centre, to tell rotation results apart.
class TTestThreePin : public TBaseElement {
public:
    explicit TTestThreePin(Schematic& sheet);
};

// Database, model rows, two model methods; the model row "Twice" is
// computed as twice the reference row "A" (method 0) or thrice (method 1).
class TTestPart : public TBaseElement {
public:
    explicit TTestPart(Schematic& sheet);
    bool CalcModelParams() override;
    int CalcCalls = 0;
};

// A one-input, one-output static block: output = 2 * input.
class TTestBlock : public TStatic {
public:
    explicit TTestBlock(Schematic& sheet);
    TValue GetOutput() override;
    double Twice() { return 2.0 * InputValue(0); }
};

// A static block with two inputs and one output.
class TTestTwoInputs : public TStatic {
public:
    explicit TTestTwoInputs(Schematic& sheet);
    TValue GetOutput() override { return 0.0; }
};

// A producer with one output.
class TTestSource : public TProducer {
public:
    explicit TTestSource(Schematic& sheet);
    TValue GetOutput() override { return 1.0; }
};
