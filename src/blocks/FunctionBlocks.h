#pragma once

#include "blocks/Families.h"

// One-input function blocks without parameters: y = f(x).

// y = |x|
class TAbs : public TStatic {
public:
    explicit TAbs(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = -x
class TSInv : public TStatic {
public:
    explicit TSInv(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = 1/x, or 0 near x = 0
class TSVer : public TStatic {
public:
    explicit TSVer(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = sign x
class TSSign : public TStatic {
public:
    explicit TSSign(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = sin x
class Tssin : public TStatic {
public:
    explicit Tssin(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = cos x
class TScos : public TStatic {
public:
    explicit TScos(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = tan x
class TStan : public TStatic {
public:
    explicit TStan(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = arcsin x
class TSasin : public TStatic {
public:
    explicit TSasin(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = arccos x
class TSacos : public TStatic {
public:
    explicit TSacos(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = arctan x
class TSatan : public TStatic {
public:
    explicit TSatan(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = sinh x
class TSsinh : public TStatic {
public:
    explicit TSsinh(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = cosh x
class TScosh : public TStatic {
public:
    explicit TScosh(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = tanh x
class TStanh : public TStatic {
public:
    explicit TStanh(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = e^x
class TSexp : public TStatic {
public:
    explicit TSexp(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = ln x
class TSln : public TStatic {
public:
    explicit TSln(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = lg x
class TSlg : public TStatic {
public:
    explicit TSlg(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};

// y = sqrt x
class TSsqrt : public TStatic {
public:
    explicit TSsqrt(Schematic& sheet);
    // The output comes with the block's model.
    TValue GetOutput() override { return TValue(0.0); }
};
