#pragma once

#include "blocks/Families.h"

// Static nonlinearities of the block diagram. Each copies its parameters into
// fields of the same names at the start of a run.

// Saturation.
class TLimit : public TStatic {
public:
    explicit TLimit(Schematic& sheet);
    void ResetState() override;
    TValue GetOutput() override;
    double OutputValue();
    double H = 1.0, L = -1.0;
};

// Dead band: zero inside [L, R], the input unchanged outside.
class TDeadBand : public TStatic {
public:
    explicit TDeadBand(Schematic& sheet);
    void ResetState() override;
    TValue GetOutput() override;
    double OutputValue();
    double L = -1.0, R = 1.0;
};

// Two-level relay switching at zero.
class TRelay : public TStatic {
public:
    explicit TRelay(Schematic& sheet);
    void ResetState() override;
    TValue GetOutput() override;
    double OutputValue();
    double H = 1.0, L = -1.0;
};

// Dead band with saturation.
class TDeadLimit : public TStatic {
public:
    explicit TDeadLimit(Schematic& sheet);
    void ResetState() override;
    TValue GetOutput() override;
    double OutputValue();
    double ld = -1.0, rd = 1.0, hl = 1.0, ll = -1.0;
};

// Two-level hysteresis: remembers its last output and switches up above H_x,
// down at or below L_x.
class TGisteresis : public TStatic {
public:
    explicit TGisteresis(Schematic& sheet);
    // Also puts the block into its low state, so that every run starts alike.
    void ResetState() override;
    TValue GetOutput() override;
    double OutputValue();
    double H_x = 1.0, L_x = -1.0, H_y = 1.0, L_y = -1.0;
    double LastOutput = 0.0;
};
