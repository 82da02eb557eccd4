#pragma once

#include <random>

#include "blocks/Families.h"

// Signal generators: functions of the model time. Each copies its parameters
// into working fields of the same names in ResetState.

// Step of height h after the delay t.
class TStep : public TProducer {
public:
    explicit TStep(Schematic& sheet);
    void ResetState() override;
    TValue GetOutput() override;
    double h = 1.0, t = 0.0;
    double Value();
};

// A · sin(w·t + phi).
class TSinusoid : public TProducer {
public:
    explicit TSinusoid(Schematic& sheet);
    void ResetState() override;
    TValue GetOutput() override;
    double A = 1.0, w = 0.0, phi = 0.0;
    double Value();
};

// Random numbers between min and max in steps of 0.001, drawn anew at the
// start of every period of T1 milliseconds.
class TGPSP : public TProducer {
public:
    explicit TGPSP(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    TValue GetOutput() override;
    double max = 1.0, min = 1.0, T1 = 1.0;
    // Memory kept from creation on: the period of the last draw and its value.
    int LastIndex = 0;
    double Value = 0.0;
    double Output();

private:
    std::mt19937 random_;
};

// Positive and negative rectangular pulses in each period.
class TGRI : public TProducer {
public:
    explicit TGRI(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    TValue GetOutput() override;
    double A1 = 1.0, t1 = 0.0, L1 = 1.0, A2 = 1.0, t2 = 0.0, L2 = 1.0, w = 0.0;
    double Value();
};

// Positive and negative trapezoidal pulses in each period.
class TTrap : public TProducer {
public:
    explicit TTrap(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    TValue GetOutput() override;
    double A1 = 1.0, tp1 = 0.0, tp2 = 1.0, L1 = 1.0, tp3 = 1.0;
    double A2 = 1.0, to1 = 4.0, to2 = 1.0, L2 = 1.0, to3 = 1.0, w = 0.0;
    double Value();
};

// Triangle wave: 0 up to A1, down to -A1 and back to 0 in each period.
class TTreu : public TProducer {
public:
    explicit TTreu(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    TValue GetOutput() override;
    double A1 = 1.0, w = 0.0;
    double Value();
};

// h · (t - delay) after the delay.
class TRamp : public TProducer {
public:
    explicit TRamp(Schematic& sheet);
    void ResetState() override;
    TValue GetOutput() override;
    double h = 1.0, t = 0.0;
    double Value();
};

// Sawtooth AA · (fraction of the periods elapsed).
class TAngel : public TProducer {
public:
    explicit TAngel(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    TValue GetOutput() override;
    double AA = 1.0, wA = 0.0;
    double Value();
};

// Rising sawtooth from 0 to A1.
class TPilaP : public TProducer {
public:
    explicit TPilaP(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    TValue GetOutput() override;
    double A1 = 1.0, w = 0.0;
    double Value();
};

// Falling sawtooth from A1 to 0.
class TPilaO : public TProducer {
public:
    explicit TPilaO(Schematic& sheet);
    void ResetState() override;
    bool CheckBeforeRun() override;
    TValue GetOutput() override;
    double A1 = 1.0, w = 0.0;
    double Value();
};

// Ramp of slope Kr that restarts from 0 when its input crosses zero upwards.
class TSyncGPN : public TStatic {
public:
    explicit TSyncGPN(Schematic& sheet);
    // Clears the memory too, so that every run starts like the first.
    void ResetState() override;
    TValue GetOutput() override;
    double Kr = 1.0;
    double LastTime = 0.0, PrevInput = 0.0, ResetTime = 0.0, HeldOutput = 0.0;
    double Value();
};
