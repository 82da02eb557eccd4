#pragma once

#include "blocks/Families.h"

// Signal generators: functions of the model time.

// Step.
class TStep : public TProducer {
public:
    explicit TStep(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Sine wave.
class TSinusoid : public TProducer {
public:
    explicit TSinusoid(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Random numbers held for a period.
class TGPSP : public TProducer {
public:
    explicit TGPSP(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Rectangular pulses.
class TGRI : public TProducer {
public:
    explicit TGRI(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Trapezoidal pulses.
class TTrap : public TProducer {
public:
    explicit TTrap(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Triangular pulses.
class TTreu : public TProducer {
public:
    explicit TTreu(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Linear function.
class TRamp : public TProducer {
public:
    explicit TRamp(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Sawtooth function.
class TAngel : public TProducer {
public:
    explicit TAngel(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Rising sawtooth.
class TPilaP : public TProducer {
public:
    explicit TPilaP(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Falling sawtooth.
class TPilaO : public TProducer {
public:
    explicit TPilaO(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Ramp that restarts when its input crosses zero upwards.
class TSyncGPN : public TStatic {
public:
    explicit TSyncGPN(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
