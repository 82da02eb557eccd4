#pragma once

#include "blocks/Families.h"

// Static nonlinearities of the block diagram.

// Saturation.
class TLimit : public TStatic {
public:
    explicit TLimit(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Dead band.
class TDeadBand : public TStatic {
public:
    explicit TDeadBand(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Two-level relay.
class TRelay : public TStatic {
public:
    explicit TRelay(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Dead band with saturation.
class TDeadLimit : public TStatic {
public:
    explicit TDeadLimit(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// Two-level hysteresis.
class TGisteresis : public TStatic {
public:
    explicit TGisteresis(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
